#include "platform/integer_round.h"

#include <gtest/gtest.h>

#include "tests/support/trapped.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <utility>

#include "platform/trapped_error.h"

namespace platform {
namespace {

// Halves go to the even neighbour; anything off a half goes to the nearest.
TEST(IntegerRound, DoublesRoundHalfToEven) {
    const struct {
        double value;
        int expected;
    } cases[] = {
        {2.5, 2},       {3.5, 4},       {-2.5, -2},     {-3.5, -4},       {0.5, 0},       {-0.5, 0},
        {1.5, 2},       {-1.5, -2},     {0.5000001, 1}, {-0.5000001, -1}, {0.4999999, 0}, {2.4999999, 2},
        {2.5000001, 3}, {0.0, 0},       {-7.0, -7},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToLong(c.value), c.expected) << c.value;
        EXPECT_EQ(ToInteger(c.value), c.expected) << c.value;
    }
}

TEST(IntegerRound, CurrencyRoundsHalfToEven) {
    const struct {
        std::int64_t raw;
        int expected;
    } cases[] = {
        {25000, 2}, {35000, 4}, {-25000, -2}, {-35000, -4}, {5000, 0},   {-5000, 0},
        {5001, 1},  {-5001, -1}, {4999, 0},   {15000, 2},   {24999, 2},  {25001, 3},
    };
    for (const auto& c : cases) EXPECT_EQ(ToLong(Currency::FromRaw(c.raw)), c.expected) << c.raw;
}

TEST(IntegerRound, ValuesThatRoundIntoTheRangeAreKept) {
    EXPECT_EQ(ToLong(2147483647.4), 2147483647);
    EXPECT_EQ(ToLong(2147483646.5), 2147483646);
    EXPECT_EQ(ToLong(-2147483648.5), -2147483648);
    EXPECT_EQ(ToInteger(32767.4), 32767);
    EXPECT_EQ(ToInteger(-32768.5), -32768);
    EXPECT_EQ(ToLong(Currency::FromDouble(-2147483648.5)), -2147483648);
    EXPECT_EQ(ToLong(Currency::FromDouble(2147483646.5)), 2147483646);
}

TEST(IntegerRound, OutOfRangeRaisesOverflow) {
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<std::string, std::function<void()>> cases[] = {
        {"ToLong 2147483647.5", [] { ToLong(2147483647.5); }},  // the even neighbour is 2^31
        {"ToLong 2147483648", [] { ToLong(2147483648.0); }},
        {"ToLong -2147483649.5", [] { ToLong(-2147483649.5); }},
        {"ToLong 1e300", [] { ToLong(1e300); }},
        {"ToLong NaN", [nan] { ToLong(nan); }},
        {"ToLong inf", [inf] { ToLong(inf); }},
        {"ToLong -inf", [inf] { ToLong(-inf); }},
        {"ToInteger 32767.5", [] { ToInteger(32767.5); }},
        {"ToInteger -32769", [] { ToInteger(-32769.0); }},
        {"ToInteger 40000", [] { ToInteger(40000.0); }},
        {"ToInteger NaN", [nan] { ToInteger(nan); }},
        {"ToLong Currency 2147483647.5", [] { ToLong(Currency::FromDouble(2147483647.5)); }},
        {"ToLong Currency -2147483649", [] { ToLong(Currency(-2147483649LL)); }},
        {"ToLong Currency max", [] { ToLong(Currency::FromRaw(std::numeric_limits<std::int64_t>::max())); }},
    };
    for (const auto& [name, action] : cases) {
        EXPECT_EQ(testsupport::ErrorNumberOf(action), error_number::kOverflow) << name;
    }
}

}  // namespace
}  // namespace platform
