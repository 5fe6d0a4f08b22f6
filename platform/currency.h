#pragma once
#include <compare>
#include <cstdint>
#include <string>

namespace platform {

// A money or price amount: a 64-bit count of ten-thousandths, so sums of
// prices stay exact. Every operation that leaves the range raises overflow
// (error 6) instead of wrapping.
class Currency {
public:
    static constexpr int kDecimals = 4;
    static constexpr std::int64_t kScale = 10000;

    constexpr Currency() = default;
    explicit Currency(long long whole);

    static constexpr Currency FromRaw(std::int64_t raw) { return Currency(raw, RawTag{}); }
    // Rounds the exact binary value half to even; NaN, infinities and
    // values out of range raise overflow.
    static Currency FromDouble(double value);
    // The amount numerator / denominator ten-thousandths, rounded half to
    // even. A zero denominator raises division by zero.
    static Currency FromRawRatio(__int128 numerator, __int128 denominator);
    // a × b by way of a 128-bit product.
    static Currency WideProduct(const Currency& a, const Currency& b);

    constexpr std::int64_t raw() const { return raw_; }
    double ToDouble() const;
    // The amount in units of 10^-decimals (0..4), rounded half to even.
    std::int64_t RoundedUnits(int decimals) const;
    // Shortest plain decimal: "12.5", "-3", "0.0001", "0".
    std::string ToText() const;

    // Sums, differences and negations run for every row of every series:
    // inline, with the overflow test of the hardware.
    Currency operator-() const {
        Currency negated;
        if (__builtin_sub_overflow(std::int64_t{0}, raw_, &negated.raw_)) RaiseOverflow();
        return negated;
    }
    Currency& operator+=(const Currency& other) {
        if (__builtin_add_overflow(raw_, other.raw_, &raw_)) RaiseOverflow();
        return *this;
    }
    Currency& operator-=(const Currency& other) {
        if (__builtin_sub_overflow(raw_, other.raw_, &raw_)) RaiseOverflow();
        return *this;
    }

    friend constexpr auto operator<=>(const Currency&, const Currency&) = default;
    friend constexpr bool operator==(const Currency&, const Currency&) = default;

private:
    struct RawTag {};
    constexpr Currency(std::int64_t raw, RawTag) : raw_(raw) {}
    [[noreturn]] static void RaiseOverflow();

    std::int64_t raw_ = 0;
};

inline Currency operator+(Currency a, const Currency& b) { return a += b; }
inline Currency operator-(Currency a, const Currency& b) { return a -= b; }
// Products of the amounts the rules compare fit in 64 bits before scaling;
// those are rounded here, inline, and only a wider one takes the 128-bit way.
inline Currency operator*(const Currency& a, const Currency& b) {
    std::int64_t product;
    if (__builtin_mul_overflow(a.raw(), b.raw(), &product)) return Currency::WideProduct(a, b);
    // Truncated, then corrected to the nearest quotient, ties to the even one.
    std::int64_t quotient = product / Currency::kScale;
    const std::int64_t remainder = product % Currency::kScale;
    const std::int64_t twice = 2 * (remainder < 0 ? -remainder : remainder);
    if (twice > Currency::kScale || (twice == Currency::kScale && quotient % 2 != 0)) quotient += product < 0 ? -1 : 1;
    return Currency::FromRaw(quotient);
}
Currency operator*(const Currency& a, long long b);
Currency operator*(long long a, const Currency& b);
Currency operator/(const Currency& a, const Currency& b);
Currency operator/(const Currency& a, long long b);

}  // namespace platform
