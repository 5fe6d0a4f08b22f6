#include "platform/number_format.h"

#include <gtest/gtest.h>

#include "tests/support/trapped.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "platform/numeric_text.h"
#include "platform/trapped_error.h"

namespace platform {
namespace {

struct DoubleCase {
    double value;
    const char* format;
    const char* expected;
};

void ExpectFormats(const DoubleCase& c) {
    EXPECT_EQ(FormatNumber(c.value, c.format), c.expected) << c.value << " with " << c.format;
}

TEST(FormatNumber, IntegerFormatsPadAndRoundHalfToEven) {
    const DoubleCase cases[] = {
        {2.5, "0", "2"},       {3.5, "0", "4"},         {-2.5, "0", "-2"},   {-3.5, "0", "-4"},
        {0.5, "0", "0"},       {1.5, "0", "2"},         {2.5000001, "0", "3"}, {0.0, "0", "0"},
        {-0.4, "0", "0"},      {-0.5, "0", "0"},        {-0.0, "0", "0"},    {1234567.0, "0", "1234567"},
        {5.0, "00", "05"},     {-5.0, "00", "-05"},     {123.0, "00", "123"}, {0.0, "00", "00"},
        {7.0, "000", "007"},   {-7.0, "000", "-007"},   {42.0, "0000", "0042"}, {12345.0, "0000", "12345"},
        {0.0, "#", ""},        {5.0, "#", "5"},         {-0.3, "#", ""},     {1e20, "0", "100000000000000000000"},
    };
    for (const auto& c : cases) ExpectFormats(c);
}

TEST(FormatNumber, DecimalFormatsRoundTheExactBinaryValue) {
    const DoubleCase cases[] = {
        {0.125, "0.00", "0.12"},      // exact tie, to even
        {0.375, "0.00", "0.38"},      // exact tie, to even
        {-0.125, "0.00", "-0.12"},
        {2.675, "0.00", "2.67"},      // the double is just below the tie
        {1.005, "0.00", "1.00"},
        {-0.001, "0.00", "0.00"},     // rounds to zero: no sign
        {0.0, "0.00", "0.00"},
        {123456.789, "0.00", "123456.79"},
        {1e20, "0.00", "100000000000000000000.00"},
        {0.0625, "0.000", "0.062"},
        {1.0005, "0.000", "1.000"},
        {-3.0, "0.000", "-3.000"},
        {0.015625, "0.00000", "0.01562"},
        {0.5, ".00", ".50"},
    };
    for (const auto& c : cases) ExpectFormats(c);
}

TEST(FormatNumber, GroupingAndPercent) {
    const DoubleCase cases[] = {
        {0.0, "#,##0", "0"},
        {12.0, "#,##0", "12"},
        {999.5, "#,##0", "1,000"},  // rounding carries into a new group
        {1234567.5, "#,##0", "1,234,568"},
        {1234568.5, "#,##0", "1,234,568"},
        {-1234.5, "#,##0", "-1,234"},
        {-0.4, "#,##0", "0"},
        {1e15, "#,##0", "1,000,000,000,000,000"},
        {1234.125, "#,##0.00", "1,234.12"},
        {-1234567.891, "#,##0.00", "-1,234,567.89"},
        {0.5, "#,##0.00", "0.50"},
        {0.125, "0.0%", "12.5%"},
        {0.0625, "0.0%", "6.2%"},  // 6.25% is an exact tie
        {0.1875, "0.0%", "18.8%"},
        {-0.0625, "0.0%", "-6.2%"},
        {-0.0004, "0.0%", "0.0%"},
        {12.34, "0.0%", "1234.0%"},
        {0.005, "0%", "0%"},  // the product by 100 is 0.5 exactly, a tie
        {0.015, "0%", "2%"},
        {0.0, "0.0%", "0.0%"},
    };
    for (const auto& c : cases) ExpectFormats(c);
}

TEST(FormatNumber, TwoSectionsShowTheAbsoluteValueOfNegatives) {
    const DoubleCase cases[] = {
        {0.0125, "+0.00%;-0.00%", "+1.25%"},
        {-0.0125, "+0.00%;-0.00%", "-1.25%"},
        {0.03125, "+0.00%;-0.00%", "+3.12%"},  // exact tie
        {-0.03125, "+0.00%;-0.00%", "-3.12%"},
        {0.0, "+0.00%;-0.00%", "+0.00%"},
        {-0.00001, "+0.00%;-0.00%", "-0.00%"},  // negative picks the second section even at zero
        {1234567.0, "+#,##0;-#,##0", "+1,234,567"},
        {-1234567.0, "+#,##0;-#,##0", "-1,234,567"},
        {0.0, "+#,##0;-#,##0", "+0"},
        {2.5, "+#,##0;-#,##0", "+2"},
        {-2.5, "+#,##0;-#,##0", "-2"},
        {-3.5, "+#,##0;-#,##0", "-4"},
        {-5.0, "0;(0)", "(5)"},
    };
    for (const auto& c : cases) ExpectFormats(c);
}

TEST(FormatNumber, LiteralsAroundThePlaceholders) {
    const DoubleCase cases[] = {
        {1.5, "x0.00y", "x1.50y"},
        {-5.0, "x0y", "-x5y"},
        {1234.0, "#,##0 pcs", "1,234 pcs"},
        {7.0, "[00]", "[07]"},
    };
    for (const auto& c : cases) ExpectFormats(c);
}

TEST(FormatNumber, CurrencyRoundsExactlyHalfToEven) {
    constexpr std::int64_t kMaxRaw = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMinRaw = std::numeric_limits<std::int64_t>::min();
    const struct {
        std::int64_t raw;
        const char* format;
        const char* expected;
    } cases[] = {
        {1250, "0.00", "0.12"},
        {1350, "0.00", "0.14"},
        {-1250, "0.00", "-0.12"},
        {26750, "0.00", "2.68"},  // exact tie, unlike the double 2.675
        {50, "0.00", "0.00"},
        {-50, "0.00", "0.00"},
        {100, "0.00", "0.01"},
        {25000, "0", "2"},
        {35000, "0", "4"},
        {-5000, "0", "0"},
        {12345, "0.00000", "1.23450"},
        {kMinRaw, "0.00000", "-922337203685477.58080"},
        {kMaxRaw, "#,##0.00", "922,337,203,685,477.58"},
        {kMinRaw, "#,##0.00", "-922,337,203,685,477.58"},
        {kMaxRaw, "#,##0", "922,337,203,685,478"},
        {kMinRaw, "+#,##0;-#,##0", "-922,337,203,685,478"},
        {625, "0.0%", "6.2%"},
        {10000, "0.00000%", "100.00000%"},
        {-125, "+0.00%;-0.00%", "-1.25%"},
        {3125, "0.0%", "31.2%"},  // exact tie
        {0, "+0.00%;-0.00%", "+0.00%"},
        {0, "#", ""},
        {5, "0000", "0000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(Currency::FromRaw(c.raw), c.format), c.expected) << c.raw << " with " << c.format;
    }
}

TEST(FormatNumber, NonFiniteRaisesOverflow) {
    const std::pair<double, const char*> cases[] = {
        {std::nan(""), "0"}, {std::numeric_limits<double>::infinity(), "0"}, {1e307, "0%"}};
    for (const auto& [value, format] : cases) {
        EXPECT_EQ(testsupport::ErrorNumberOf([&] { FormatNumber(value, format); }), error_number::kOverflow)
            << value;
    }
}

TEST(NumberFormat, AppendsToWhatStandsBefore) {
    const NumberFormat format("+#,##0.00;-#,##0.00");
    std::string text = "kept:";
    format.AppendTo(text, -1234567.125);
    format.AppendTo(text, Currency::FromRaw(5));  // 0.0005 rounds to 0.00, half to even
    EXPECT_EQ(text, "kept:-1,234,567.12+0.00");
}

// The shortcut from the exact amount must show what the double shows: ties
// the double breaks its own way, decimals past the pattern's or the
// amount's, large amounts, percents and patterns of many decimals.
TEST(NumberFormat, ParsedDoubleShowsWhatTheDoubleShows) {
    const char* const patterns[] = {"+###,###,##0.00;-###,###,##0.00", "###,##0.00000;-###,##0.00000", "0.000",
                                    "#,##0",  "0.000000", "0.0000000", "0.0%", "0.00000%", "+0.0;-0.0"};
    std::vector<std::string> texts = {
        "0",     "-0.0",   "0.125",          "0.165",          "2.675",        "1.005",          "-1.005",
        "0.5",   "1.5 ",   "1,234.5",        "-1,234.56",      "0.00005",      "0.123456",       "12.34567",
        "8589934591.9999", "8589934591.1", "4294967295.3", "8589934592.25", "-8589934592.5", "123456789012.34",
        "99999999999999.99",
    };
    // A spread of magnitudes and decimals, each signed both ways.
    for (std::uint64_t n = 1, step = 0; step < 400; ++step, n = n * 6364136223846793005ULL + 1442695040888963407ULL) {
        const std::uint64_t digits = (n >> 20) % 10000000000000ULL;
        const std::string whole = std::to_string(digits >> (step % 40));
        const std::size_t decimals = step % 6;
        std::string text = whole.size() > decimals ? whole : std::string(decimals + 1 - whole.size(), '0') + whole;
        if (decimals > 0) text.insert(text.size() - decimals, ".");
        texts.push_back(text);
        texts.push_back("-" + text);
    }
    for (const char* pattern : patterns) {
        const NumberFormat format(pattern);
        for (const std::string& text : texts) {
            std::string shortcut;
            format.AppendParsedDouble(shortcut, text, *ParseCurrency(text));
            EXPECT_EQ(shortcut, format.Format(*ParseDouble(text))) << text << " with " << pattern;
        }
    }
}

TEST(NumberFormat, PatternsOfManyDecimals) {
    const std::string pattern = "0." + std::string(120, '0');  // beyond the digits' usual room
    EXPECT_EQ(FormatNumber(0.25, pattern), "0.25" + std::string(118, '0'));
    EXPECT_EQ(FormatNumber(Currency::FromRaw(-12345), pattern), "-1.2345" + std::string(116, '0'));
}

}  // namespace
}  // namespace platform
