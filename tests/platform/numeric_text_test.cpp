#include "platform/numeric_text.h"

#include <gtest/gtest.h>

#include "tests/support/trapped.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "platform/trapped_error.h"

namespace platform {
namespace {

TEST(NumericText, AcceptedFormsParseAsEveryType) {
    const char* const cases[] = {
        "0",     "5",           "-5",       "+5",         "5.",        ".5",     "-.5",  "+.5",
        "1,234", "1,2,3",       "12,34",    "1,234,567.89", "-1,234.5", "007",   "0.000",
        " 12 ",  "\t-3.5\t",    " \t 1 \t ", "0.123456789",
    };
    for (const char* text : cases) {
        EXPECT_TRUE(IsNumericText(text)) << '[' << text << ']';
        EXPECT_TRUE(ParseCurrency(text).has_value()) << '[' << text << ']';
        EXPECT_TRUE(ParseDouble(text).has_value()) << '[' << text << ']';
    }
}

TEST(NumericText, RefusedFormsParseAsNothing) {
    const char* const cases[] = {
        "",       " ",       "\t",     ".",      "-",      "+",     "-.",    "+-1",   "--5",
        "- 5",    "5-",      "5+",     "(5)",    "1e5",    "1E5",   "0x10",  "$5",    "5%",
        "\\5",    "¥5",      "５",     "１,２",  "5\u3000", "\u30005", ",1",    "1,",    "1,,2",
        "1,.5",   "-,1",     ".,5",    "1.2.3",  "1.2,3",  "1 2",   "1, 234", "abc",  "5a",
        "\n5",    "5\n",     "five",
    };
    for (const char* text : cases) {
        EXPECT_FALSE(IsNumericText(text)) << '[' << text << ']';
        EXPECT_FALSE(ParseCurrency(text).has_value()) << '[' << text << ']';
        EXPECT_FALSE(ParseDouble(text).has_value()) << '[' << text << ']';
    }
}

TEST(NumericText, ParseCurrencyRoundsPastFourDecimalsHalfToEven) {
    constexpr std::int64_t kMaxRaw = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMinRaw = std::numeric_limits<std::int64_t>::min();
    const struct {
        const char* text;
        std::int64_t raw;
    } cases[] = {
        {"1,234.5", 12345000},
        {" +12 ", 120000},
        {"-0.0001", -1},
        {".5", 5000},
        {"5.", 50000},
        {"0.00005", 0},
        {"0.00015", 2},
        {"-0.00025", -2},
        {"0.000050001", 1},
        {"0.00025000000000000000001", 3},  // a nonzero digit far out breaks the tie
        {"0.000049999999", 0},
        {"000000000000000000000001", 10000},
        {"922337203685477.5807", kMaxRaw},
        {"922337203685477.58074999", kMaxRaw},
        {"-922337203685477.5808", kMinRaw},
        {"922,337,203,685,477.5807", kMaxRaw},
    };
    for (const auto& c : cases) {
        const auto amount = ParseCurrency(c.text);
        ASSERT_TRUE(amount.has_value()) << c.text;
        EXPECT_EQ(amount->raw(), c.raw) << c.text;
    }
}

// Short amounts take a quicker route than long ones (more than 14 integer
// characters or 4 decimals); each row spells one amount both ways.
TEST(NumericText, ParseCurrencyGivesOneAmountForEverySpelling) {
    constexpr std::int64_t kMaxRaw = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMinRaw = std::numeric_limits<std::int64_t>::min();
    const std::string padding(15, '0');
    const struct {
        std::int64_t raw;
        std::vector<std::string> texts;
    } cases[] = {
        {0, {"0", "-0", "+0.0000", ".0", "0.00000", "-" + padding + ".00000", "-0.00005", "0.000049999"}},
        {50000, {"5.", "+5", " 5 ", "5.0000", "5.00000", padding + "5.", "4.99995", "5.00005"}},
        {-5000, {"-.5", "-0.5", "\t-0.5000\t", "-.50000", "-" + padding + ".5", "-.49995", "-.50005"}},
        {1, {"0.0001", ".0001", "0.00010", "0.00005000001", "0.000149999"}},
        {-1, {"-0.0001", "-0.00005000001", "-0.000149", "-" + padding + ".0001"}},
        {2, {"0.0002", "0.00015", "0.00025", "0.00024999", "0.000150001"}},
        {12345678, {"1,234.5678", "1,2,3,4.5678", "1234.56780", padding + "1,234.5678", " +1234.567800000 "}},
        {-1230000, {"-1,2,3", "-123", "-123.00000", "-" + padding + "1,2,3"}},
        {120000, {"00000000000012", "000000000000012", "12.0000", "12.00000"}},
        {999999999999999999, {"99999999999999.9999", "99,999,999,999,999.9999", "99999999999999.99990",
                              "0" + std::string(14, '9') + ".9999", "99999999999999.99989"}},
        {-999999999990000, {"-99,999,999,999", "-99999999999", "-" + padding + "99999999999"}},
        {kMaxRaw, {"922337203685477.5807", "922,337,203,685,477.5807", "922337203685477.58069"}},
        {kMinRaw, {"-922337203685477.5808", "-922337203685477.58075", "-0922337203685477.5808"}},
    };
    for (const auto& c : cases) {
        for (const std::string& text : c.texts) {
            const auto amount = ParseCurrency(text);
            ASSERT_TRUE(amount.has_value()) << '[' << text << ']';
            EXPECT_EQ(amount->raw(), c.raw) << '[' << text << ']';
        }
    }
}

TEST(NumericText, ParseDoubleGivesTheNearestDouble) {
    const struct {
        std::string text;
        double value;
    } cases[] = {
        {"1,234.5", 1234.5}, {"-.5", -0.5}, {"0.1", 0.1}, {"5.", 5.0}, {"2.675", 2.675},
        {"-1,000,000", -1e6}, {"0.30000000000000004", 0.30000000000000004},
        {"0." + std::string(400, '0') + "1", 0.0},  // below the smallest double
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDouble(c.text), c.value) << c.text;
}

// Numeric text whose value does not fit raises overflow rather than reading as "not numeric".
TEST(NumericText, OutOfRangeRaisesOverflow) {
    const std::string huge = "1" + std::string(400, '0');
    const std::pair<std::string, std::function<void()>> cases[] = {
        {"922337203685477.5808", [] { ParseCurrency("922337203685477.5808"); }},
        {"922337203685477.58075", [] { ParseCurrency("922337203685477.58075"); }},  // tie to even 5808
        {"-922337203685477.5809", [] { ParseCurrency("-922337203685477.5809"); }},
        {"999999999999999", [] { ParseCurrency("999999999999999"); }},  // just too many digits to be safe
        {"-999999999999999.9999", [] { ParseCurrency("-999999999999999.9999"); }},
        {"1,000,000,000,000,000", [] { ParseCurrency("1,000,000,000,000,000"); }},
        {"99999999999999999999999", [] { ParseCurrency("99999999999999999999999"); }},
        {"huge currency", [&huge] { ParseCurrency(huge); }},
        {"huge double", [&huge] { ParseDouble(huge); }},
        {"-huge double", [&huge] { ParseDouble("-" + huge + ".5"); }},
    };
    for (const auto& [name, action] : cases) {
        EXPECT_EQ(testsupport::ErrorNumberOf(action), error_number::kOverflow) << name;
    }
}

}  // namespace
}  // namespace platform
