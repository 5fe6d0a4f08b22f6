#include "platform/currency.h"

#include <gtest/gtest.h>

#include "tests/support/trapped.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "platform/trapped_error.h"

namespace platform {
namespace {

constexpr std::int64_t kMaxRaw = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinRaw = std::numeric_limits<std::int64_t>::min();
const Currency kMax = Currency::FromRaw(kMaxRaw);
const Currency kMin = Currency::FromRaw(kMinRaw);
const Currency kTick = Currency::FromRaw(1);  // 0.0001

struct RaisingCase {
    const char* name;
    std::function<Currency()> action;
    long error;
};

void ExpectRaises(const RaisingCase& c) {
    EXPECT_EQ(testsupport::ErrorNumberOf([&] { c.action(); }), c.error) << c.name;
}

TEST(Currency, FromIntegerIsExactUpToTheRange) {
    EXPECT_EQ(Currency(12).raw(), 120000);
    EXPECT_EQ(Currency(922337203685477).raw(), 9223372036854770000);
    EXPECT_EQ(Currency(-922337203685477).raw(), -9223372036854770000);
    for (const long long whole : {922337203685478LL, -922337203685478LL, std::numeric_limits<long long>::max()}) {
        ExpectRaises({"whole", [whole] { return Currency(whole); }, error_number::kOverflow});
    }
}

TEST(Currency, FromDoubleRoundsTheExactBinaryValueHalfToEven) {
    const struct {
        double value;
        std::int64_t raw;
    } cases[] = {
        {12.5, 125000},
        {0.03125, 312},    // 1/32: an exact tie at 312.5, goes to even
        {0.09375, 938},    // 3/32: tie at 937.5
        {-0.03125, -312},
        {0.00005, 1},      // the double lies just above the tie
        {0.00015, 1},      // and this one just below
        {2.675, 26750},    // 26749.99999999999822...
        {1e-300, 0},
        {-922337203685477.5, -9223372036854775000},
    };
    for (const auto& c : cases) EXPECT_EQ(Currency::FromDouble(c.value).raw(), c.raw) << c.value;
}

TEST(Currency, FromDoubleOutOfRangeRaisesOverflow) {
    for (const double value : {std::nan(""), std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(), 1e15, -1e300,
                               922337203685477.625}) {
        ExpectRaises({"FromDouble", [value] { return Currency::FromDouble(value); }, error_number::kOverflow});
    }
}

TEST(Currency, ToTextIsTheShortestPlainDecimal) {
    const struct {
        std::int64_t raw;
        const char* text;
    } cases[] = {
        {125000, "12.5"}, {-30000, "-3"}, {1, "0.0001"}, {-1, "-0.0001"}, {0, "0"},
        {10000005, "1000.0005"}, {kMaxRaw, "922337203685477.5807"}, {kMinRaw, "-922337203685477.5808"},
    };
    for (const auto& c : cases) EXPECT_EQ(Currency::FromRaw(c.raw).ToText(), c.text) << c.raw;
}

TEST(Currency, ToDoubleAndOrder) {
    EXPECT_EQ(Currency::FromRaw(125000).ToDouble(), 12.5);
    EXPECT_EQ(Currency::FromRaw(-1).ToDouble(), -0.0001);
    EXPECT_LT(kMin, -kTick);
    EXPECT_LT(-kTick, Currency());
    EXPECT_LT(Currency(), kTick);
    EXPECT_EQ(Currency(1), Currency::FromRaw(10000));
}

TEST(Currency, ProductsAndQuotientsRoundHalfToEven) {
    const Currency half = Currency::FromRaw(5000);
    const struct {
        const char* name;
        Currency result;
        std::int64_t raw;
    } cases[] = {
        {"0.0001 * 0.5", kTick * half, 0},
        {"0.0003 * 0.5", Currency::FromRaw(3) * half, 2},
        {"-0.0001 * 0.5", -kTick * half, 0},
        {"-0.0003 * 0.5", Currency::FromRaw(-3) * half, -2},
        {"0.0001 * 0.5001", kTick * Currency::FromRaw(5001), 1},
        {"0.0001 / 2", kTick / 2, 0},
        {"0.0003 / 2", Currency::FromRaw(3) / 2, 2},
        {"-0.0005 / 10", Currency::FromRaw(-5) / 10, 0},
        {"-0.0015 / 10", Currency::FromRaw(-15) / 10, -2},
        {"0.0001 / 2 (Currency)", kTick / Currency(2), 0},
        {"0.0003 / 2 (Currency)", Currency::FromRaw(3) / Currency(2), 2},
        {"1 / 3", Currency(1) / Currency(3), 3333},
        {"2 / 3", Currency(2) / Currency(3), 6667},
        {"-1 / 8", Currency(-1) / Currency(8), -1250},
        {"1 / -0.0003", Currency(1) / Currency::FromRaw(-3), -33333333},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result.raw(), c.raw) << c.name;
}

// Each of these overflows 64 bits on the way but not in the result.
TEST(Currency, WideIntermediatesKeepResultsThatFit) {
    const Currency big(900000000000);
    const struct {
        const char* name;
        Currency result;
        Currency expected;
    } cases[] = {
        {"big * 0.0001", big * kTick, Currency(90000000)},
        {"big * 0.5", big * Currency::FromRaw(5000), Currency(450000000000)},
        {"big * 10", big * Currency(10), Currency(9000000000000)},
        {"big / 0.5", big / Currency::FromRaw(5000), Currency(1800000000000)},
        {"big / 3", big / Currency(3), Currency(300000000000)},
        {"max / max", kMax / kMax, Currency(1)},
        {"min / max", kMin / kMax, Currency(-1)},
        {"max * 1", kMax * Currency(1), kMax},
        {"min * 1", kMin * Currency(1), kMin},
        {"max - max", kMax - kMax, Currency()},
        {"min + max", kMin + kMax, -kTick},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.name;
}

TEST(Currency, OverflowAndDivisionByZeroRaiseInsteadOfWrapping) {
    const RaisingCase cases[] = {
        {"max + 0.0001", [] { return kMax + kTick; }, error_number::kOverflow},
        {"min - 0.0001", [] { return kMin - kTick; }, error_number::kOverflow},
        {"-min", [] { return -kMin; }, error_number::kOverflow},
        {"max * 2", [] { return kMax * 2; }, error_number::kOverflow},
        {"2 * max", [] { return 2 * kMax; }, error_number::kOverflow},
        {"max * 2 (Currency)", [] { return kMax * Currency(2); }, error_number::kOverflow},
        {"min * -1", [] { return kMin * -1; }, error_number::kOverflow},
        {"min / -1", [] { return kMin / -1; }, error_number::kOverflow},
        {"min / -1 (Currency)", [] { return kMin / Currency(-1); }, error_number::kOverflow},
        {"max / 0.5", [] { return kMax / Currency::FromRaw(5000); }, error_number::kOverflow},
        {"1e8 * 1e8", [] { return Currency(100000000) * Currency(100000000); }, error_number::kOverflow},
        {"max += 0.0001", [] { Currency c = kMax; return c += kTick; }, error_number::kOverflow},
        {"min -= 0.0001", [] { Currency c = kMin; return c -= kTick; }, error_number::kOverflow},
        {"1 / 0", [] { return Currency(1) / Currency(); }, error_number::kDivisionByZero},
        {"0 / 0", [] { return Currency() / Currency(); }, error_number::kDivisionByZero},
        {"1 / 0 (integer)", [] { return Currency(1) / 0; }, error_number::kDivisionByZero},
        {"ratio over 0", [] { return Currency::FromRawRatio(1, 0); }, error_number::kDivisionByZero},
    };
    for (const auto& c : cases) ExpectRaises(c);
}

TEST(Currency, RoundedUnitsRoundsHalfToEvenWithoutOverflowAtTheEdges) {
    const struct {
        std::int64_t raw;
        int decimals;
        std::int64_t units;
    } cases[] = {
        {125000, 0, 12},  {135000, 0, 14},  {-125000, 0, -12}, {-135000, 0, -14},
        {125001, 0, 13},  {12345, 3, 1234}, {12355, 3, 1236},  {12345, 4, 12345},
        {1250, 2, 12},    {1350, 2, 14},    {kMaxRaw, 0, 922337203685478},
        {kMinRaw, 0, -922337203685478},     {kMinRaw, 4, kMinRaw},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Currency::FromRaw(c.raw).RoundedUnits(c.decimals), c.units) << c.raw << " to " << c.decimals;
    }
}

}  // namespace
}  // namespace platform
