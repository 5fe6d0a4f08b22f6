// The price-history test site read through the real address templates and
// the page fetch: its pages hold the model's rows, and it refuses queries
// that break the pages' rules.
#include "tests/support/price_site.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "collect/prices/market_suffix.h"
#include "collect/prices/price_url.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/page_fetch.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/startup/process_context.h"
#include "common/startup/run_env.h"
#include "common/tasks/waits.h"
#include "common/text/web_text.h"
#include "platform/date_parse.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using collect::PageText;
using platform::Date;
using testsupport::PriceLine;

class PriceSiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        common::EnvRec env;
        common::CCENV00M(env);
        common::SetTaskWorkPaths(41, 1, env);
        common::LoadLogSwitches(env);
        common::SetProcessContext(4, 1);
        collect::BuildHtmlTagTable();
        common::SetWaitScaleForTests(0.01f);
        site_.UseAsPriceSites();
    }
    void TearDown() override { common::SetWaitScaleForTests(1.0f); }

    // The address of one page, as the collector builds it.
    static std::string Address(const std::string& country, const std::string& code, const std::string& suffix,
                               const std::string& candle, Date from, Date to, long position) {
        collect::PriceUrlTemplate tpl;
        EXPECT_TRUE(collect::GetPriceUrlTemplate(country, "1000", tpl));
        collect::PriceRequest request;
        request.Code = code;
        request.Candle = candle;
        request.FromDate = from;
        request.ToDate = to;
        request.GetLine = std::stol(tpl.LinesPerPage);
        request.GetPosition = position;
        return collect::FillMarketSuffix(collect::FillPriceUrl(tpl, request), suffix);
    }

    std::int32_t Fetch(const std::string& url) {
        fetch_.Url = url;
        return collect::CWHTM12M("4", "AHPJP41M(2)：", fetch_, PageText(), collect::PageLink(), false);
    }

    // The row of the table's header, 0 when the page has none.
    std::int32_t HeaderRow() const {
        for (std::int32_t r = 1; r <= fetch_.RowCount; ++r) {
            if (PageText().At(r, 1) == "日付" || PageText().At(r, 1) == "Date") return r;
        }
        return 0;
    }

    // The rows below the header, newest first, converted as the collector stores them.
    std::vector<PriceLine> PageRows() const {
        std::vector<PriceLine> rows;
        for (std::int32_t r = HeaderRow() + 1; r <= fetch_.RowCount; ++r) {
            if (PageText().At(r, 1).empty()) continue;
            const std::optional<Date> date = platform::ParseDate(PageText().At(r, 1));
            PriceLine line{date ? platform::DateText(*date) : "bad date " + std::string(PageText().At(r, 1))};
            for (std::int32_t c = 2; c <= 7; ++c) line[c - 1] = common::NumberTextOrSame(PageText().At(r, c));
            rows.push_back(line);
        }
        return rows;
    }

    bool PageSays(const std::string& text) const {
        for (std::int32_t r = 1; r <= fetch_.RowCount; ++r) {
            for (std::int32_t c = 1; c <= fetch_.ColCount; ++c) {
                if (PageText().At(r, c).find(text) != std::string::npos) return true;
            }
        }
        return false;
    }

    testsupport::ProgramFolder folder_;
    testsupport::PriceSite site_;
    collect::FetchRec fetch_;
};

struct SeriesCase {
    const char* name;
    const char* country;
    const char* code;
    const char* suffix;
    const char* candle;
    std::vector<std::string> header;
};

void PrintTo(const SeriesCase& c, std::ostream* os) { *os << c.name; }

class WholeSeries : public PriceSiteTest, public ::testing::WithParamInterface<SeriesCase> {};

// Every page of a range, read newest first, gives back the model's price rows
// and its dividend and split rows.
TEST_P(WholeSeries, PagesHoldTheModelsRows) {
    const SeriesCase& c = GetParam();
    const Date first{2003, 1, 6};
    const Date last{2005, 6, 30};
    const Date from{2003, 5, 1};
    const Date to{2005, 3, 9};
    site_.AddStock(c.country, c.code, first, last, c.suffix);
    site_.AddDividend(c.country, c.code, {2004, 3, 26}, "0.25");
    site_.AddSplit(c.country, c.code, {2004, 9, 27}, 1, 2);

    const long lines = std::string(c.country) == "JPN" ? 50 : 66;
    std::vector<PriceLine> prices;
    std::vector<PriceLine> events;
    int pages = 0;
    for (long position = 0;; position += lines) {
        ASSERT_EQ(Fetch(Address(c.country, c.code, c.suffix, c.candle, from, to, position)), 200);
        ++pages;
        const std::int32_t header = HeaderRow();
        if (header == 0) break;
        for (std::int32_t col = 1; col <= 7; ++col) EXPECT_EQ(PageText().At(header, col), c.header[col - 1]);
        const std::vector<PriceLine> rows = PageRows();
        for (const PriceLine& row : rows) {
            const bool event = (row[1] + row[2]).find_first_of("$:") != std::string::npos;
            (event ? events : prices).push_back(row);
        }
        if (static_cast<long>(rows.size()) < lines) break;
    }
    std::reverse(prices.begin(), prices.end());
    std::reverse(events.begin(), events.end());
    const std::vector<PriceLine> expected = site_.ExpectedRows(c.country, c.code, c.candle[0], from, to);
    EXPECT_EQ(prices, expected);
    EXPECT_EQ(events, site_.ExpectedEvents(c.country, c.code, from, to));
    EXPECT_EQ(pages, static_cast<int>((expected.size() + 2) / lines) + 1);
    EXPECT_EQ(site_.Requests(c.country, c.code), pages);
    EXPECT_TRUE(site_.Violations().empty());
}

const std::vector<std::string> kJapanHeader{"日付", "始値", "高値", "安値", "終値", "出来高", "調整後終値*"};
const std::vector<std::string> kPortalHeader{"Date", "Open", "High", "Low", "Close", "Volume", "Adj Close*"};
const std::vector<std::string> kPortalWeekHeader{"Date", "Open", "High", "Low", "Close", "Avg Vol", "Adj Close*"};

INSTANTIATE_TEST_SUITE_P(
    Candles, WholeSeries,
    ::testing::Values(SeriesCase{"JapanDaily", "JPN", "7203", "", "D", kJapanHeader},
                      SeriesCase{"JapanWeekly", "JPN", "7203", "", "W", kJapanHeader},
                      SeriesCase{"JapanMonthly", "JPN", "7203", "", "M", kJapanHeader},
                      SeriesCase{"UsDaily", "USA", "IBM", "", "D", kPortalHeader},
                      SeriesCase{"UsWeekly", "USA", "IBM", "", "W", kPortalWeekHeader},
                      SeriesCase{"ChinaMonthly", "CHN", "600000", ".ss", "M", kPortalHeader}),
    [](const ::testing::TestParamInfo<SeriesCase>& info) { return std::string(info.param.name); });

TEST_F(PriceSiteTest, JapanesePageIsShiftJisWithSeparatedNumbers) {
    site_.AddStock("JPN", "7203", {2005, 3, 1}, {2005, 3, 9});
    ASSERT_EQ(Fetch(Address("JPN", "7203", "", "D", {1900, 1, 1}, {2005, 3, 9}, 0)), 200);
    const std::int32_t row = HeaderRow() + 1;
    EXPECT_EQ(PageText().At(row, 1), "2005/3/9");
    EXPECT_NE(PageText().At(row, 6).find(','), std::string::npos) << PageText().At(row, 6);
    EXPECT_EQ(PageRows().size(), 7u);
    const std::string fetchLog = testsupport::ReadBytes(common::State().fetchWorkPaths[6]);
    EXPECT_NE(fetchLog.find("Charset: cp932\r\n"), std::string::npos) << fetchLog;
}

TEST_F(PriceSiteTest, PagesWithoutRows) {
    site_.AddStock("JPN", "7203", {2005, 1, 3}, {2005, 3, 9});
    site_.AddStock("CHN", "0005", {2005, 1, 3}, {2005, 3, 9}, ".hk");
    const struct {
        std::string url;
        const char* says;
    } cases[] = {
        {Address("JPN", "7203", "", "D", {2006, 1, 1}, {2006, 3, 9}, 0), "データはありません"},
        {Address("JPN", "7203", "", "D", {2005, 1, 1}, {2005, 3, 9}, 50), "データはありません"},
        {Address("USA", "IBM", "", "D", {2005, 1, 1}, {2005, 3, 9}, 0), "Invalid Ticker Symbol"},
        {Address("CHN", "0005", ".ss", "D", {2005, 1, 1}, {2005, 3, 9}, 0), "Invalid Ticker Symbol"},
        {Address("CHN", "0005", "", "D", {2005, 1, 1}, {2005, 3, 9}, 0), "Invalid Ticker Symbol"},
        {Address("CHN", "0005", ".hk", "D", {2006, 1, 1}, {2006, 3, 9}, 0), "unavailable for the specified date range"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Fetch(c.url), 200) << c.url;
        EXPECT_EQ(HeaderRow(), 0) << c.url;
        EXPECT_TRUE(PageSays(c.says)) << c.url;
    }
    EXPECT_EQ(site_.Requests("CHN", "0005"), 3);
    EXPECT_TRUE(site_.Violations().empty());
}

TEST_F(PriceSiteTest, FailingAndTablelessPages) {
    site_.AddStock("USA", "IBM", {2005, 1, 3}, {2005, 3, 9});
    const std::string url = Address("USA", "IBM", "", "D", {1900, 1, 1}, {2005, 3, 9}, 0);
    site_.SetFailing("USA", "IBM", true);
    EXPECT_EQ(Fetch(url), -500);
    EXPECT_EQ(site_.Requests("USA", "IBM"), 10);
    site_.SetFailing("USA", "IBM", false);
    site_.SetTablelessPages("USA", "IBM", 2);
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(Fetch(url), 200);
        EXPECT_EQ(HeaderRow(), 0);
        EXPECT_FALSE(PageSays("unavailable"));
    }
    ASSERT_EQ(Fetch(url), 200);
    EXPECT_GT(HeaderRow(), 0);
    EXPECT_EQ(site_.Requests("/q/hp"), 13);
}

// The site refuses what the collector must never ask, and records it.
TEST_F(PriceSiteTest, RuleBreakingQueriesAreRefusedAndRecorded) {
    site_.AddStock("JPN", "7203", {2005, 1, 3}, {2005, 3, 9});
    site_.AddStock("USA", "IBM", {2005, 1, 3}, {2005, 3, 9});
    const std::string base = "http://" + site_.HostPort();
    const std::string bad[] = {
        "/t?a=01&c=2005&b=1&f=2005&d=03&e=9&g=d&s=7203&y=0&z=7203",   // keys out of order
        "/t?c=2005&a=1&b=1&f=2005&d=03&e=9&g=d&s=7203&y=0&z=7203",    // one-digit month
        "/t?c=2005&a=01&b=01&f=2005&d=03&e=9&g=d&s=7203&y=0&z=7203",  // day with a leading zero
        "/t?c=2005&a=01&b=1&f=2005&d=02&e=30&g=d&s=7203&y=0&z=7203",  // no such day
        "/t?c=2005&a=01&b=1&f=2005&d=03&e=9&g=D&s=7203&y=0&z=7203",   // candle in capitals
        "/t?c=2005&a=01&b=1&f=2005&d=03&e=9&g=d&s=7203&y=66&z=7203",  // not a page start
        "/t?c=2005&a=01&b=1&f=2005&d=03&e=9&g=d&s=7203&y=0&z=7204",   // codes differ
        "/q/hp?s=IBM&a=12&b=1&c=2005&d=02&e=9&f=2005&g=d&z=66&y=0",   // month 12 of a 0-based count
        "/q/hp?s=IBM&a=00&b=1&c=2005&d=02&e=9&f=2005&g=d&z=50&y=0",   // wrong row count
        "/q/hp?s=IBM&a=00&b=1&c=2005&d=02&e=9&f=2005&g=d&z=66&y=50",  // not a page start
        "/q/hp?s=IBM&a=00&b=1&c=2005&d=02&e=9&f=2005&g=d&z=66",       // no position
        "/q?s=IBM",                                                   // no such page
    };
    for (const std::string& target : bad) {
        fetch_.Url = base + target;
        EXPECT_EQ(collect::FetchPageOnce(fetch_, PageText(), collect::PageLink()), -400) << target;
    }
    const std::vector<std::string> violations = site_.Violations();
    ASSERT_EQ(violations.size(), std::size(bad));
    for (std::size_t i = 0; i < violations.size(); ++i) EXPECT_EQ(violations[i].rfind(bad[i] + ": ", 0), 0u);
    EXPECT_EQ(site_.Requests("JPN", "7203"), 0);
}

}  // namespace
