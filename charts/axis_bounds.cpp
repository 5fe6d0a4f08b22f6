#include "charts/axis_bounds.h"

#include <cmath>
#include <string>

#include "platform/number_format.h"

namespace charts {

namespace {

// `change` added to the leading one (below 100) or two digits of the value,
// scaled back to its magnitude.
double RoundedBound(double value, int change, int& digits) {
    const std::string text = platform::FormatNumber(value, "0");
    digits = static_cast<int>(text.size());
    const std::size_t leading = value < 100 ? 1 : 2;
    const int head = std::stoi(text.substr(0, leading));
    const int exponent = value < 100 ? 1 : digits - 2;
    return (head + change) * std::pow(10.0, exponent);
}

}  // namespace

int DigitCount(double value) { return static_cast<int>(platform::FormatNumber(value, "0").size()); }

double AxisUpperBound(double value, int& digits) {
    if (value < 10) {
        digits = DigitCount(value);
        return 10;
    }
    return RoundedBound(value, 1, digits);
}

double AxisLowerBound(double value, int& digits) {
    if (value < 10) {
        digits = DigitCount(value);
        return 0;
    }
    return RoundedBound(value, -1, digits);
}

void KeepMinimum(double value, double& minimum) {
    if (value < minimum) minimum = value;
}

void KeepMaximum(double value, double& maximum) {
    if (value > maximum) maximum = value;
}

}  // namespace charts
