#include "charts/axis_ticks.h"

#include <algorithm>
#include <cmath>

#include "platform/number_format.h"
#include "platform/utf8_text.h"

namespace charts {

namespace {

constexpr std::size_t kMaxTicks = 10000;

double StepFactor(int leadingDigits) {
    if (leadingDigits < 20) return 2;
    if (leadingDigits < 48) return 5;
    if (leadingDigits < 96) return 10;
    return 2;
}

}  // namespace

std::vector<AxisTick> LinearAxisTicks(double highest, int digits) {
    const std::string text = platform::FormatNumber(highest, "0");
    const double step = StepFactor(std::stoi(text.substr(0, 2))) * std::pow(10.0, digits - 2);
    std::vector<AxisTick> ticks{{0, 0, AxisTick::Kind::Tick}};
    while (ticks.back().raw <= highest && ticks.size() < kMaxTicks) {
        const double next = static_cast<double>(ticks.size()) * step;
        ticks.push_back({next, next, AxisTick::Kind::Tick});
    }
    return ticks;
}

double LogIfPositive(double value) { return value > 0 ? std::log(value) / std::log(2.0) : value; }

void FinishAxis(std::vector<AxisTick> ticks, double lowest, double highest, bool logScale, AxisScale& axis) {
    ticks.push_back({lowest, lowest, AxisTick::Kind::LowMark});
    ticks.push_back({highest, highest, AxisTick::Kind::HighMark});
    std::stable_sort(ticks.begin(), ticks.end(), [](const AxisTick& a, const AxisTick& b) { return a.raw < b.raw; });
    ticks.erase(
        std::unique(ticks.begin(), ticks.end(), [](const AxisTick& a, const AxisTick& b) { return a.raw == b.raw; }),
        ticks.end());
    if (logScale) {
        for (AxisTick& tick : ticks) tick.value = LogIfPositive(tick.raw);
    }
    axis.first = 0;
    axis.last = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        if (ticks[i].raw <= lowest) axis.first = i;
        if (ticks[i].raw <= highest) axis.last = i;
    }
    axis.low = ticks[axis.first].value;
    for (AxisTick& tick : ticks) {
        if (tick.value > 0) tick.value -= axis.low;
    }
    axis.range = ticks[axis.last].value;
    axis.ticks = std::move(ticks);
}

std::string AxisLabelText(double value, std::string_view format) {
    return platform::PadRightChars(platform::PadLeftChars(platform::FormatNumber(value, format), 13), 18);
}

}  // namespace charts
