// The number routines of the quote readers.
#include "collect/child/report_numbers.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/program_folder.h"

namespace {

TEST(ReportNumbers, UnitMultiplierAndScale) {
    struct Case {
        const char* unit;
        const char* multiplier;
    };
    const Case cases[] = {{"", "1"},        {"K", "1000"},       {"m", "1000000"},  {"B", "1000000000"},
                          {"百万円", "1000000"}, {"セント", "0.01"}, {"1,000", "1000"}, {"元", "1"},
                          {"T", "1"},         {"億", "100000000"}, {"3万", "10000"}};
    for (const Case& c : cases) EXPECT_EQ(collect::UnitMultiplier(c.unit), c.multiplier) << c.unit;

    EXPECT_EQ(collect::ScaleByUnit("12.5", "M"), "12500000");
    EXPECT_EQ(collect::ScaleByUnit("1,234", "百万"), "1234000000");
    EXPECT_EQ(collect::ScaleByUnit("30", "セント"), "0.3");
    EXPECT_EQ(collect::ScaleByUnit("---", "M"), "0");
    EXPECT_EQ(collect::ScaleByUnit("", ""), "0");
}

// A product beyond the fixed-point range gives the failure text and a log
// line, never a wrapped number.
TEST(ReportNumbers, ScaleBeyondTheRangeIsTheFailureText) {
    testsupport::ProgramFolder folder;
    EXPECT_EQ(collect::ScaleByUnit("900000000", "B"), "0");
    EXPECT_EQ(collect::ScaleByUnit("-900000000", "B"), "0");
}

TEST(ReportNumbers, Splits) {
    struct Case {
        const char* text;
        const char* number;
        const char* unit;
    };
    const Case trailing[] = {{"12.5M", "12.5", "M"}, {"1,234", "1,234", "1"}, {"M", "M", "1"},
                             {"3.4億", "3.4", "億"}, {"", "", "1"}};
    for (const Case& c : trailing) {
        std::string number, unit;
        collect::SplitTrailingUnit(c.text, number, unit);
        EXPECT_EQ(number, c.number) << c.text;
        EXPECT_EQ(unit, c.unit) << c.text;
    }
    const Case rest[] = {{"1,234,567百万円", "1234567", "百万円"}, {"---", "0", ""},
                         {"N/A", "0", "N/A"},                {"12.5 億円", "12.5", "億円"}};
    for (const Case& c : rest) {
        std::string number, unit;
        collect::SplitNumberAndRest(c.text, number, unit);
        EXPECT_EQ(number, c.number) << c.text;
        EXPECT_EQ(unit, c.unit) << c.text;
    }
}

TEST(ReportNumbers, MarkedTexts) {
    EXPECT_EQ(collect::TextAfterUntil("円換算用のレート：19.5", "レート：", ""), "19.5");
    EXPECT_EQ(collect::TextAfterUntil("a[b]c[d]", "[", "]"), "b");
    EXPECT_EQ(collect::TextAfterUntil("a[b", "[", "]"), "");
    EXPECT_EQ(collect::TextAfterUntil("ab", "[", ""), "");
    EXPECT_EQ(collect::ValueAfterMarker("発行済み株数：9,580 百万株", "発行済み株数："), "9,580");
    EXPECT_EQ(collect::ValueAfterMarker("流通Ａ株：120", "流通Ａ株："), "120");
    EXPECT_EQ(collect::ValueAfterMarker("流通Ｂ株", "流通Ｂ株："), "");
    EXPECT_EQ(collect::UnitText("１株利益（香港ドル）"), "香港ドル");
    EXPECT_EQ(collect::UnitText("ＲＯＥ"), "");

    struct Case {
        const char* label;
        const char* multiplier;
        const char* currency;
    };
    const Case cases[] = {{"売上高（百万元）", "1000000", "CNY"},     {"純利益（百万香港ドル）", "1000000", "HKD"},
                          {"純資産（米ドル）", "1", "USD"},          {"総資産（百万台湾ドル）", "1000000", "TWD"},
                          {"売上高（英ポンド）", "1", "GBP"},         {"売上高（百万円）", "1000000", "JPY"},
                          {"売上高（ユーロ）", "1", "ユーロ"},         {"売上高", "1", ""}};
    for (const Case& c : cases) {
        std::string multiplier, currency;
        collect::CurrencyFromUnitText(c.label, multiplier, currency);
        EXPECT_EQ(multiplier, c.multiplier) << c.label;
        EXPECT_EQ(currency, c.currency) << c.label;
    }
}

}  // namespace
