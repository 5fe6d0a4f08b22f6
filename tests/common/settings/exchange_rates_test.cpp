#include "common/settings/exchange_rates.h"

#include <gtest/gtest.h>

#include <string>

#include "common/settings/settings.h"
#include "platform/trapped_error.h"
#include "tests/support/fake_ui.h"
#include "tests/support/program_folder.h"
#include "tests/support/trapped.h"

namespace {

using platform::Currency;

TEST(ExchangeRates, UnsetValuesReadAsTheDefaults) {
    testsupport::ProgramFolder folder;
    common::WriteSetting("MirControl\\ComExcg\\ExcgDate", "  ");
    const common::ExchangeRate rate = common::ReadExchangeRates(3);
    EXPECT_EQ(rate.currencyCode, "USD");
    EXPECT_EQ(rate.rateText, "1");
    EXPECT_EQ(rate.rate, Currency(1));
    EXPECT_EQ(rate.date, "1900/01/01");
    EXPECT_EQ(rate.time, "00:00:00");
}

TEST(ExchangeRates, EachIndexReadsItsOwnKey) {
    testsupport::ProgramFolder folder;
    const char* codes[] = {"JPY", "CNY", "USD", "HKD", "TWD", "GBP", "XEU"};
    for (int index = 1; index <= 7; ++index) {
        common::WriteSetting(std::string("MirControl\\ComExcg\\Excg") + codes[index - 1],
                             " " + std::to_string(index) + ".25 ");
    }
    common::WriteSetting("MirControl\\ComExcg\\ExcgDate", " 2024/05/01");
    common::WriteSetting("MirControl\\ComExcg\\ExcgTime", "15:30:00 ");
    for (int index = 1; index <= 7; ++index) {
        const common::ExchangeRate rate = common::ReadExchangeRates(index);
        EXPECT_EQ(rate.currencyCode, codes[index - 1]);
        EXPECT_EQ(rate.rateText, std::to_string(index) + ".25");
        EXPECT_EQ(rate.rate, Currency::FromRaw(index * 10000 + 2500)) << index;
        // Date and time come back as stored.
        EXPECT_EQ(rate.date, " 2024/05/01");
        EXPECT_EQ(rate.time, "15:30:00 ");
    }
}

TEST(ExchangeRates, IndexOutsideTheTableEndsTheProgram) {
    testsupport::ProgramFolder folder;
    for (const int index : {0, 8}) {
        testsupport::FakeUi ui;
        EXPECT_THROW(common::ReadExchangeRates(index), testsupport::ProgramEnded) << index;
        ASSERT_EQ(ui.presenter->boxes.size(), 1u) << index;
        EXPECT_EQ(ui.presenter->boxes[0].style, 16);
    }
}

TEST(ExchangeRates, RateThatIsNoNumberRaisesTypeMismatch) {
    testsupport::ProgramFolder folder;
    common::WriteSetting("MirControl\\ComExcg\\ExcgUSD", "abc");
    EXPECT_EQ(testsupport::ErrorNumberOf([] { common::ReadExchangeRates(3); }),
              platform::error_number::kTypeMismatch);
}

}  // namespace
