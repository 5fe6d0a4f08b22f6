#pragma once

namespace charts {

// Number of characters of `value` formatted as a whole number ("0").
int DigitCount(double value);

// Round bounds around a value, with `digits` its digit count: below 10 gives
// 10 (lower: 0); below 100 the first digit plus (minus) one, times 10; else
// the first two digits plus (minus) one, times 10^(digits - 2). So 47 gives
// 50 and 30, 1234 gives 1300 and 1100.
double AxisUpperBound(double value, int& digits);
double AxisLowerBound(double value, int& digits);

// Update a running minimum or maximum.
void KeepMinimum(double value, double& minimum);
void KeepMaximum(double value, double& maximum);

}  // namespace charts
