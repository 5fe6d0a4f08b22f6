#include "platform/currency.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/trapped_error.h"

namespace platform {
namespace {

constexpr const char* kSource = "Currency";

template <class Int, class Unsigned>
Unsigned Magnitude(Int value) {
    return value < 0 ? -static_cast<Unsigned>(value) : static_cast<Unsigned>(value);
}

// Truncating division corrected to the nearest quotient, ties to the even one.
template <class Int, class Unsigned>
Int DivideHalfEvenIn(Int numerator, Int denominator) {
    Int quotient = numerator / denominator;
    const Unsigned twice_remainder = 2 * Magnitude<Int, Unsigned>(numerator % denominator);
    const Unsigned divisor = Magnitude<Int, Unsigned>(denominator);
    if (twice_remainder > divisor || (twice_remainder == divisor && quotient % 2 != 0)) {
        quotient += (numerator < 0) == (denominator < 0) ? 1 : -1;
    }
    return quotient;
}

bool FitsIn64(__int128 value) {
    return value >= std::numeric_limits<std::int64_t>::min() && value <= std::numeric_limits<std::int64_t>::max();
}

// Most quotients (averages, rates, prices) fit in 64 bits, where a division
// costs a fraction of the 128-bit one.
__int128 DivideHalfEven(__int128 numerator, __int128 denominator) {
    if (FitsIn64(numerator) && FitsIn64(denominator) &&
        !(numerator == std::numeric_limits<std::int64_t>::min() && denominator == -1)) {
        return DivideHalfEvenIn<std::int64_t, std::uint64_t>(static_cast<std::int64_t>(numerator),
                                                             static_cast<std::int64_t>(denominator));
    }
    return DivideHalfEvenIn<__int128, unsigned __int128>(numerator, denominator);
}

}  // namespace

Currency::Currency(long long whole) : Currency(FromRawRatio(static_cast<__int128>(whole) * kScale, 1)) {}

Currency Currency::FromDouble(double value) {
    if (!std::isfinite(value)) RaiseError(error_number::kOverflow, kSource);
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent);
    // |value| >= 2^50 lies beyond the range.
    if (exponent > 50) RaiseError(error_number::kOverflow, kSource);
    // value == mantissa * 2^-shift exactly; far below a ten-thousandth it rounds to zero.
    const int shift = std::numeric_limits<double>::digits - exponent;
    if (shift > 100) return Currency();
    const auto mantissa = static_cast<std::int64_t>(std::ldexp(fraction, std::numeric_limits<double>::digits));
    return FromRawRatio(static_cast<__int128>(mantissa) * kScale, static_cast<__int128>(1) << shift);
}

Currency Currency::FromRawRatio(__int128 numerator, __int128 denominator) {
    if (denominator == 0) RaiseError(error_number::kDivisionByZero, kSource);
    // Sums and differences divide by 1; a 128-bit division would dominate them.
    const __int128 raw = denominator == 1 ? numerator : DivideHalfEven(numerator, denominator);
    if (!FitsIn64(raw)) RaiseError(error_number::kOverflow, kSource);
    return FromRaw(static_cast<std::int64_t>(raw));
}

double Currency::ToDouble() const { return static_cast<double>(raw_) / kScale; }

std::int64_t Currency::RoundedUnits(int decimals) const {
    // Lists round hundreds of thousands of amounts: keeping every decimal
    // divides by nothing, and the power of ten divides in 64 bits.
    if (decimals >= kDecimals) return raw_;
    std::int64_t divisor = 1;
    for (int i = decimals; i < kDecimals; ++i) divisor *= 10;
    return DivideHalfEvenIn<std::int64_t, std::uint64_t>(raw_, divisor);
}

std::string Currency::ToText() const {
    const std::uint64_t magnitude = Magnitude<std::int64_t, std::uint64_t>(raw_);
    std::string text = raw_ < 0 ? "-" : "";
    text += std::to_string(magnitude / kScale);
    const std::uint64_t fraction = magnitude % kScale;
    if (fraction == 0) return text;
    std::string digits = std::to_string(fraction + kScale).substr(1);
    digits.erase(digits.find_last_not_of('0') + 1);
    return text + "." + digits;
}

void Currency::RaiseOverflow() { RaiseError(error_number::kOverflow, kSource); }

Currency Currency::WideProduct(const Currency& a, const Currency& b) {
    return FromRawRatio(static_cast<__int128>(a.raw()) * b.raw(), kScale);
}

Currency operator*(const Currency& a, long long b) {
    return Currency::FromRawRatio(static_cast<__int128>(a.raw()) * b, 1);
}

Currency operator*(long long a, const Currency& b) { return b * a; }

Currency operator/(const Currency& a, const Currency& b) {
    return Currency::FromRawRatio(static_cast<__int128>(a.raw()) * Currency::kScale, b.raw());
}

Currency operator/(const Currency& a, long long b) { return Currency::FromRawRatio(a.raw(), b); }

}  // namespace platform
