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

}  // namespace
