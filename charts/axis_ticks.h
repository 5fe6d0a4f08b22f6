#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace charts {

// One entry of an axis: where it is drawn (after the logarithm, relative to
// the axis low), the value it stands for, and what it is.
struct AxisTick {
    enum class Kind { Tick = 1, LowMark = 2, HighMark = 3 };
    double value = 0;
    double raw = 0;
    Kind kind = Kind::Tick;
};

// A finished axis: its ticks ascending, the entries from `first` to `last`
// lie on the pane; `low` is the drawing value subtracted from the others and
// `range` the drawing value of the pane's top edge.
struct AxisScale {
    std::vector<AxisTick> ticks;
    std::size_t first = 0;
    std::size_t last = 0;
    double low = 0;
    double range = 0;
    int lowDigits = 0;
    int highDigits = 0;
};

// Ticks 0, step, 2 × step ... up to and including the first above `highest`;
// the step is 2, 5, 10 or (from 96 on) again 2 by the first two digits of the
// highest value, times 10^(digits - 2).
std::vector<AxisTick> LinearAxisTicks(double highest, int digits);

// log2 of a value above 0; 0 and below stay as they are, so a series with
// zero quantities still draws.
double LogIfPositive(double value);

// Adds the lowest and highest value as marks, sorts, drops repeated values,
// takes logarithms (with `logScale`), and finds the axis low, the range and
// the entries on the pane.
void FinishAxis(std::vector<AxisTick> ticks, double lowest, double highest, bool logScale, AxisScale& axis);

// A scale label: `value` in `format`, right-aligned to 13 characters, then
// padded to 18.
std::string AxisLabelText(double value, std::string_view format);

}  // namespace charts
