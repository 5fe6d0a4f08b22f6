#include "collect/prices/price_url.h"

#include <gtest/gtest.h>

#include <utility>

#include "collect/prices/market_suffix.h"
#include "common/settings/settings.h"
#include "tests/support/program_folder.h"

namespace {

using collect::PriceRequest;
using collect::PriceUrlTemplate;

class PriceUrl : public ::testing::Test {
protected:
    static PriceUrlTemplate Template(const std::string& country, const std::string& kind = "1000") {
        PriceUrlTemplate tpl;
        EXPECT_TRUE(collect::GetPriceUrlTemplate(country, kind, tpl)) << country << " " << kind;
        return tpl;
    }

    // Daily rows from 1900/01/01 to 2005/03/09, first page.
    static PriceRequest Request(const std::string& code, long getLine) {
        PriceRequest request;
        request.Code = code;
        request.Candle = "D";
        request.FromDate = {1900, 1, 1};
        request.ToDate = {2005, 3, 9};
        request.GetLine = getLine;
        return request;
    }

    testsupport::ProgramFolder folder_;
};

TEST_F(PriceUrl, OnlyTheThreeMarketsAndTwoCategoriesHaveATemplate) {
    const struct {
        const char* country;
        const char* kind;
        const char* lines;  // nullptr: no template
    } cases[] = {{"JPN", "1000", "50"}, {"JPN", "0010", "50"}, {"USA", "1000", "66"}, {"USA", "0010", "66"},
                 {"CHN", "1000", "66"}, {"CHN", "0010", "66"}, {"HKG", "1000", nullptr}, {"JPN", "2000", nullptr},
                 {"USA", "0050", nullptr}, {"jpn", "1000", nullptr}, {"", "1000", nullptr}};
    for (const auto& c : cases) {
        PriceUrlTemplate tpl;
        tpl.UrlTemplate = "untouched";
        const bool found = collect::GetPriceUrlTemplate(c.country, c.kind, tpl);
        EXPECT_EQ(found, c.lines != nullptr) << c.country << " " << c.kind;
        if (!found) {
            EXPECT_EQ(tpl.UrlTemplate, "untouched") << c.country << " " << c.kind;
            continue;
        }
        EXPECT_EQ(tpl.Country, c.country);
        EXPECT_EQ(tpl.DataKind, c.kind);
        EXPECT_EQ(tpl.LinesPerPage, c.lines) << c.country;
    }
}

// The keys in their order, the Japanese months from "01", the US months
// from "00", days without a leading zero, the row count only where the page
// takes one.
TEST_F(PriceUrl, FilledAddressOfEachMarket) {
    EXPECT_EQ(collect::FillPriceUrl(Template("USA"), Request("IBM", 66)),
              "http://UsPortal.invalid/q/hp?s=IBM&a=00&b=1&c=1900&d=02&e=9&f=2005&g=d&z=66&y=0");
    EXPECT_EQ(collect::FillPriceUrl(Template("JPN"), Request("7203", 50)),
              "http://JpPrices.invalid/t?c=1900&a=01&b=1&f=2005&d=03&e=9&g=d&s=7203&y=0&z=7203");
    EXPECT_EQ(collect::FillPriceUrl(Template("CHN", "0010"), Request("600000", 66)),
              "http://UsPortal.invalid/q/hp?s=600000@Market@&a=00&b=1&c=1900&d=02&e=9&f=2005&g=d&z=66&y=0");
}

TEST_F(PriceUrl, HostsComeFromTheSettings) {
    common::WriteSetting("MirControl\\HpGet\\SiteJpPrices", "127.0.0.1:8081");
    common::WriteSetting("MirControl\\HpGet\\SiteUsPortal", " 127.0.0.1:8082 ");
    EXPECT_EQ(Template("JPN").UrlTemplate.rfind("http://127.0.0.1:8081/t?c=@FromYear@", 0), 0u);
    EXPECT_EQ(Template("USA").UrlTemplate.rfind("http://127.0.0.1:8082/q/hp?s=@Code@&", 0), 0u);
    EXPECT_EQ(Template("CHN").UrlTemplate.rfind("http://127.0.0.1:8082/q/hp?s=@Code@@Market@&", 0), 0u);
}

TEST_F(PriceUrl, MonthsDaysCandlesAndPaging) {
    const PriceUrlTemplate jpn = Template("JPN");
    const PriceUrlTemplate usa = Template("USA");
    PriceRequest request = Request("7203", 66);
    request.FromDate = {2004, 1, 31};
    request.ToDate = {2004, 12, 5};
    request.Candle = "w";
    request.GetPosition = 132;
    EXPECT_EQ(collect::FillPriceUrl(jpn, request),
              "http://JpPrices.invalid/t?c=2004&a=01&b=31&f=2004&d=12&e=5&g=w&s=7203&y=132&z=7203");
    EXPECT_EQ(collect::FillPriceUrl(usa, request),
              "http://UsPortal.invalid/q/hp?s=7203&a=00&b=31&c=2004&d=11&e=5&f=2004&g=w&z=66&y=132");
    for (const auto& [candle, letter] : {std::pair{"M", "&g=m&"}, std::pair{"A", "&g=a&"}, std::pair{"d", "&g=d&"}}) {
        request.Candle = candle;
        const std::string url = collect::FillPriceUrl(usa, request);
        EXPECT_NE(url.find(letter), std::string::npos) << url;
    }
}

TEST_F(PriceUrl, ChineseSuffixTries) {
    const std::string address = collect::FillPriceUrl(Template("CHN"), Request("600000", 66));
    const struct {
        int tryNumber;
        const char* country;
        const char* suffix;  // nullptr: address and suffix unchanged
    } cases[] = {{1, "CHN", ".hk"}, {2, "CHN", ".ss"}, {3, "CHN", ".sz"},
                 {0, "CHN", nullptr}, {4, "CHN", nullptr}, {2, "USA", nullptr}};
    for (const auto& c : cases) {
        std::string suffix = "kept";
        const std::string url = collect::SetChinaMarketSuffix(c.tryNumber, c.country, address, suffix);
        if (c.suffix == nullptr) {
            EXPECT_EQ(url, address) << c.tryNumber << c.country;
            EXPECT_EQ(suffix, "kept") << c.tryNumber << c.country;
            continue;
        }
        EXPECT_EQ(suffix, c.suffix);
        EXPECT_EQ(url, "http://UsPortal.invalid/q/hp?s=600000" + std::string(c.suffix) +
                           "&a=00&b=1&c=1900&d=02&e=9&f=2005&g=d&z=66&y=0");
    }
}

TEST_F(PriceUrl, StoredSuffixFillsOrRemovesThePlaceholder) {
    EXPECT_EQ(collect::FillMarketSuffix("s=600000@Market@&t=@Market@", ".ss"), "s=600000.ss&t=.ss");
    EXPECT_EQ(collect::FillMarketSuffix("s=600000@Market@&a=00", ""), "s=600000&a=00");
    EXPECT_EQ(collect::FillMarketSuffix("s=IBM&a=00", ".ss"), "s=IBM&a=00");
}

}  // namespace
