#include "common/currency_scale.h"

#include <gtest/gtest.h>

namespace {

using platform::Currency;

TEST(CurrencyScale, ScaleByCode) {
    EXPECT_EQ(common::CurrencyPriceScale("CNY"), Currency(1000));
    for (const char* code : {"HKD", "USD", "TWD", "GBP", "XEU"}) {
        EXPECT_EQ(common::CurrencyPriceScale(code), Currency(100)) << code;
    }
    EXPECT_EQ(common::CurrencyPriceScale("usd"), Currency(100));
    EXPECT_EQ(common::CurrencyPriceScale("Cny"), Currency(1000));
    EXPECT_EQ(common::CurrencyPriceScale("ＵＳＤ"), Currency(100));  // compared as text
    EXPECT_EQ(common::CurrencyPriceScale("JPY"), Currency(1));
    EXPECT_EQ(common::CurrencyPriceScale(""), Currency(1));
    EXPECT_EQ(common::CurrencyPriceScale("USD "), Currency(1));  // not trimmed
}

TEST(CurrencyScale, UnitByCode) {
    EXPECT_EQ(common::CurrencyPriceUnit("CNY").ToText(), "0.001");
    EXPECT_EQ(common::CurrencyPriceUnit("gbp").ToText(), "0.01");
    EXPECT_EQ(common::CurrencyPriceUnit("XEU").ToText(), "0.01");
    EXPECT_EQ(common::CurrencyPriceUnit("JPY"), Currency(1));
    EXPECT_EQ(common::CurrencyPriceUnit("EUR"), Currency(1));
}

// Every form in which a stock's currency is stored names one code: the code
// the US and Japanese collectors store, the name a Chinese quote page gives,
// the first character the name index keeps of it; blank or unknown texts
// fall back to the market's currency.
TEST(CurrencyScale, StockCurrencyCodeOfEveryStoredForm) {
    struct Case {
        const char* stored;
        const char* market;
        const char* code;
    };
    const Case cases[] = {
        {"JPY", "JPN", "JPY"},   {"USD", "USA", "USD"},        {" usd ", "USA", "USD"},
        {"ＣＮＹ", "CHN", "CNY"}, {"人民元", "CHN", "CNY"},       {"人", "CHN", "CNY"},
        {"中国元", "CHN", "CNY"}, {"元", "CHN", "CNY"},           {"日本円", "JPN", "JPY"},
        {"円", "JPN", "JPY"},    {"米ドル", "USA", "USD"},       {"米", "USA", "USD"},
        {"英国ポンド", "", "GBP"}, {"ユーロ", "", "XEU"},         {"台", "", "TWD"},
        // A Chinese stock traded in another currency keeps it.
        {"香港ドル", "CHN", "HKD"}, {"香", "CHN", "HKD"},         {"米ドル", "CHN", "USD"},
        {"", "CHN", "CNY"},      {"", "JPN", "JPY"},           {"   ", "USA ", "USD"},
        {"ルーブル", "CHN", "CNY"}, {"", "", ""},                 {"X", "ZZZ", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(common::StockCurrencyCode(c.stored, c.market), c.code) << c.stored << " " << c.market;
    }
}

}  // namespace
