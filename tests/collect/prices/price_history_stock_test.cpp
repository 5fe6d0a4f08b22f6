// One stock's price history collected from a loopback site generated from a
// price model: paging, the series held, dividend and split rows, a new split,
// the Chinese exchange suffix, failing pages and a cancel.
#include "collect/prices/price_history_stock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "collect/web/html_tag_table.h"
#include "common/files/data_file.h"
#include "common/files/file_registry.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/process_context.h"
#include "common/startup/run_env.h"
#include "common/tasks/task_files.h"
#include "common/tasks/waits.h"
#include "marketdata/chart_line_files.h"
#include "marketdata/code_master.h"
#include "marketdata/price_series.h"
#include "platform/cp932.h"
#include "tests/collect/page_server.h"
#include "tests/support/file_bytes.h"
#include "tests/support/price_site.h"
#include "tests/support/program_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::Date;
using testsupport::PriceLine;

constexpr Date kToDate{2026, 12, 4};
constexpr long kProcess = 11;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
    return parts;
}

class PriceHistoryStock : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(kProcess, 1, env_);
        common::SetProcessContext(1, 1);
        collect::BuildHtmlTagTable();
        common::SetWaitScaleForTests(0.01f);
        site_.UseAsPriceSites();

        common::TSCRec control;
        common::InitTaskControlRec(kProcess, 1, env_, control);
        common::InitTaskDetailRec(kProcess, 1, env_, control, task_);

        settings_.Candle = "D";
        settings_.PeriodMode = "1";
        settings_.ToDate = platform::DateText(kToDate);
        settings_.BackupFlag = "0";
    }
    void TearDown() override { common::SetWaitScaleForTests(1.0f); }

    static marketdata::CdmRec Company(const std::string& country, const std::string& code) {
        marketdata::CdmRec rec;
        marketdata::InitCdmRec(rec, 1);
        rec.Key.Market = country;
        rec.Key.Category = "1000";
        rec.Key.CorpCode = code;
        rec.InfoText[171 - 133] = "銘柄" + code;
        return rec;
    }

    bool Collect(marketdata::CdmRec& company, const std::string& candle = "D") {
        common::MSGRec msg;
        return collect::AHPJP41M(1, env_, msg, company, settings_, candle, task_);
    }

    fs::path File(const marketdata::CdmRec& company, long fileNumber, const std::string& candle,
                  const std::string& extension = ".txt") {
        return common::BuildDataFilePath(fileNumber, 0, 0, marketdata::PriceFileNamePart(company.Key, candle),
                                         extension, env_);
    }

    // Columns 0-6 of the file's lines.
    std::vector<PriceLine> Rows(const marketdata::CdmRec& company, long fileNumber, const std::string& candle = "D") {
        std::vector<PriceLine> rows;
        const fs::path path = File(company, fileNumber, candle);
        if (!fs::exists(path)) return rows;
        for (const std::string& line : Split(platform::FromCp932(testsupport::ReadBytes(path)).text, '\n')) {
            const std::vector<std::string> columns = Split(line.substr(0, line.find('\r')), '\t');
            PriceLine row;
            for (std::size_t c = 0; c < row.size() && c < columns.size(); ++c) row[c] = columns[c];
            rows.push_back(row);
        }
        return rows;
    }

    testsupport::ProgramFolder folder_;
    testsupport::PriceSite site_;
    common::EnvRec env_;
    common::TSDRec task_;
    common::SystemStateRec settings_;
};

// A stock without a series is collected from the start of its data, page by
// page, until a short page or the no-data page ends it.
TEST_F(PriceHistoryStock, NewStockIsCollectedWholePageByPage) {
    struct Case {
        const char* country;
        const char* code;
        Date first;
        const char* path;
        int pages;
    };
    // 120 weekdays: pages of 50, 50 and 20 rows; 132 weekdays: two full pages
    // of 66 rows, then a page without rows.
    const Case cases[] = {{"JPN", "7203", {2026, 6, 22}, "/t", 3}, {"USA", "IBM", {2026, 6, 4}, "/q/hp", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.country);
        site_.AddStock(c.country, c.code, c.first, kToDate);
        marketdata::CdmRec company = Company(c.country, c.code);
        const int before = site_.Requests(c.path);

        EXPECT_TRUE(Collect(company));

        const std::vector<PriceLine> expected = site_.ExpectedRows(c.country, c.code, 'D', c.first, kToDate);
        EXPECT_EQ(Rows(company, 1014), expected);
        EXPECT_EQ(site_.Requests(c.path) - before, c.pages);
        EXPECT_EQ(company.Term[1].FirstDate, expected.front()[0]);
        EXPECT_EQ(company.Term[1].LastDate, "2026/12/04");
    }
    EXPECT_EQ(site_.Violations(), std::vector<std::string>{});
}

// A later collection asks only from the last definite date held; provisional
// rows are replaced by the collected rows of their dates.
TEST_F(PriceHistoryStock, LaterCollectionStartsAtTheLastDefiniteDate) {
    const Date first{2026, 1, 5};
    site_.AddStock("JPN", "7203", first, {2026, 11, 20});
    marketdata::CdmRec company = Company("JPN", "7203");
    settings_.ToDate = "2026/11/20";
    ASSERT_TRUE(Collect(company));

    // Two provisional rows beyond the data held, as the market report leaves them.
    const fs::path series = File(company, 1014, "D");
    std::string bytes = testsupport::ReadBytes(series);
    bytes += "2026/11/23\t1\t1\t1\t1\t1\t1\t*\r\n2026/11/24\t2\t2\t2\t2\t2\t2\t*\r\n";
    testsupport::WriteBytes(series, bytes);
    site_.SetLastDate("JPN", "7203", kToDate);
    settings_.ToDate = platform::DateText(kToDate);
    const int before = site_.Requests("/t");

    ASSERT_TRUE(Collect(company));

    EXPECT_EQ(Rows(company, 1014), site_.ExpectedRows("JPN", "7203", 'D', first, kToDate));
    EXPECT_EQ(site_.Requests("/t") - before, 1);  // 11 rows from 2026/11/20 on fit one page
    EXPECT_EQ(company.Term[1].LastDate, "2026/12/04");
    EXPECT_EQ(site_.Violations(), std::vector<std::string>{});
}

// The period modes: "2" asks for everything again, "3" for the given period
// only, "4" for the past before the first date held; each merges what it
// gets into the series held.
TEST_F(PriceHistoryStock, PeriodModesChooseTheDatesAskedFor) {
    struct Case {
        const char* mode;
        Date heldFrom;
        Date from;  // the settings' From date (mode "3")
        Date to;    // the settings' To date
        Date expectFirst;
        int pages;
    };
    const Case cases[] = {
        {"2", {2026, 10, 1}, {}, kToDate, {2026, 6, 1}, 3},
        {"3", {2026, 10, 1}, {2026, 8, 3}, {2026, 8, 31}, {2026, 8, 3}, 1},
        {"4", {2026, 10, 1}, {}, kToDate, {2026, 6, 1}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        testsupport::PriceSite site;
        site.UseAsPriceSites();
        site.AddStock("JPN", "7203", {2026, 6, 1}, kToDate);
        marketdata::CdmRec company = Company("JPN", "7203");
        // The series held: October on.
        settings_.PeriodMode = "3";
        settings_.FromDate = platform::DateText(c.heldFrom);
        settings_.ToDate = platform::DateText(kToDate);
        fs::remove(File(company, 1014, "D"));
        ASSERT_TRUE(Collect(company));
        const int before = site.Requests("/t");

        settings_.PeriodMode = c.mode;
        settings_.FromDate = platform::DateText(c.from);
        settings_.ToDate = platform::DateText(c.to);
        ASSERT_TRUE(Collect(company));

        std::vector<PriceLine> expected = site.ExpectedRows("JPN", "7203", 'D', c.expectFirst, kToDate);
        if (std::string(c.mode) == "3") {
            // August, then the October on already held: September stays out.
            std::erase_if(expected, [](const PriceLine& row) { return row[0].starts_with("2026/09"); });
        }
        EXPECT_EQ(Rows(company, 1014), expected);
        EXPECT_EQ(site.Requests("/t") - before, c.pages);
        EXPECT_EQ(site.Violations(), std::vector<std::string>{});
    }
}

// Dividend and split rows go to the split file, never into the series.
TEST_F(PriceHistoryStock, EventRowsGoToTheSplitFile) {
    const Date first{2026, 9, 1};
    site_.AddStock("USA", "IBM", first, kToDate);
    site_.AddDividend("USA", "IBM", {2026, 10, 7}, "0.25");
    site_.AddSplit("USA", "IBM", {2026, 9, 15}, 1, 2);
    marketdata::CdmRec company = Company("USA", "IBM");

    ASSERT_TRUE(Collect(company));

    EXPECT_EQ(Rows(company, 1014), site_.ExpectedRows("USA", "IBM", 'D', first, kToDate));
    const std::vector<PriceLine> events = Rows(company, 1015);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0][0], "2026/09/15");
    EXPECT_NE(events[0][1].find(':'), std::string::npos);
    EXPECT_EQ(events[1][0], "2026/10/07");
    EXPECT_NE(events[1][1].find('$'), std::string::npos);
}

// A split newer than the data held makes the stock start again from nothing:
// with the backup flag the old files stay as ".bak", the chart-line stamps go,
// and the event is flagged for the run. A row held that the site no longer
// shows is gone from the new series.
TEST_F(PriceHistoryStock, NewSplitCollectsTheWholeHistoryAgain) {
    const Date first{2026, 8, 3};
    site_.AddStock("JPN", "7203", first, {2026, 11, 2});
    marketdata::CdmRec company = Company("JPN", "7203");
    settings_.ToDate = "2026/11/02";
    ASSERT_TRUE(Collect(company));
    testsupport::WriteBytes(File(company, 1014, "D"),
                            "2026/07/31\t9\t9\t9\t9\t9\t9\r\n" + testsupport::ReadBytes(File(company, 1014, "D")));
    const std::string oldSeries = testsupport::ReadBytes(File(company, 1014, "D"));

    site_.SetLastDate("JPN", "7203", kToDate);
    site_.AddSplit("JPN", "7203", {2026, 11, 16}, 1, 3);
    settings_.ToDate = platform::DateText(kToDate);
    settings_.BackupFlag = "1";
    company.ProcMark[2] = {"1", "2026/11/03", "10:00:00"};
    company.Term[2] = {"2026/08/03", "2026/11/02"};
    common::WriteSetting("MirControl\\HpGet\\HpSplit", "0");

    ASSERT_TRUE(Collect(company));

    EXPECT_EQ(Rows(company, 1014), site_.ExpectedRows("JPN", "7203", 'D', first, kToDate));
    EXPECT_EQ(testsupport::ReadBytes(File(company, 1014, "D", ".bak")), oldSeries);
    ASSERT_EQ(Rows(company, 1015).size(), 1u);
    EXPECT_EQ(Rows(company, 1015)[0][0], "2026/11/16");
    EXPECT_EQ(company.ProcMark[2].MarkFlag, "");
    EXPECT_EQ(company.Term[2].FirstDate, "");
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\HpSplit"), "1");
}

// A recollection after a new split whose pages fail keeps the files and
// dates held (no ".bak" is made of them); the next collection finds the
// split again and recollects, keeping the backup when asked.
TEST_F(PriceHistoryStock, FailedRecollectionAfterASplitKeepsTheSeriesHeld) {
    const Date first{2026, 8, 3};
    for (const std::string backup : {"0", "1"}) {
        SCOPED_TRACE(backup);
        const std::string code = backup == "1" ? "6758" : "7203";
        site_.AddStock("JPN", code, first, {2026, 11, 2});
        site_.AddDividend("JPN", code, {2026, 9, 15}, "10");
        marketdata::CdmRec company = Company("JPN", code);
        settings_.ToDate = "2026/11/02";
        settings_.BackupFlag = backup;
        ASSERT_TRUE(Collect(company));
        const std::string series = testsupport::ReadBytes(File(company, 1014, "D"));
        const std::string splits = testsupport::ReadBytes(File(company, 1015, "D"));
        const marketdata::TermRec term = company.Term[1];

        site_.SetLastDate("JPN", code, kToDate);
        site_.AddSplit("JPN", code, {2026, 11, 16}, 1, 3);
        settings_.ToDate = platform::DateText(kToDate);
        site_.FailAfterPages("JPN", code, 1);  // the page since the data held comes, the recollection's fail
        EXPECT_TRUE(Collect(company));

        EXPECT_EQ(testsupport::ReadBytes(File(company, 1014, "D")), series);
        EXPECT_EQ(testsupport::ReadBytes(File(company, 1015, "D")), splits);
        EXPECT_FALSE(fs::exists(File(company, 1014, "D", ".bak")));
        EXPECT_EQ(company.Term[1].FirstDate, term.FirstDate);
        EXPECT_EQ(company.Term[1].LastDate, term.LastDate);

        site_.SetFailing("JPN", code, false);
        EXPECT_TRUE(Collect(company));
        EXPECT_EQ(Rows(company, 1014), site_.ExpectedRows("JPN", code, 'D', first, kToDate));
        EXPECT_EQ(Rows(company, 1015).size(), 2u);
        EXPECT_EQ(fs::exists(File(company, 1014, "D", ".bak")), backup == "1");
        if (backup == "1") {
            EXPECT_EQ(testsupport::ReadBytes(File(company, 1014, "D", ".bak")), series);
        }
        EXPECT_EQ(company.Term[1].LastDate, "2026/12/04");
    }
}

// A weekly or monthly series collected from nothing leaves the judgement's
// stamps and chart-line files alone: the judgement reads the daily series,
// whose first collection clears them.
TEST_F(PriceHistoryStock, OnlyADailySeriesFromNothingClearsTheChartLines) {
    site_.AddStock("JPN", "7203", {2026, 6, 1}, kToDate);
    marketdata::CdmRec company = Company("JPN", "7203");
    const fs::path chartLines = marketdata::CFKSN54M(env_, company.Key, marketdata::kChartLineFileNumber, "",
                                                     common::CFFIL03M(marketdata::kChartLineFileNumber));
    fs::create_directories(chartLines.parent_path());
    testsupport::WriteBytes(chartLines, "lines");
    company.ProcMark[2] = {"1", "2026/11/03", "10:00:00"};

    for (const char* candle : {"W", "M"}) {
        ASSERT_TRUE(Collect(company, candle));
        EXPECT_EQ(company.ProcMark[2].MarkFlag, "1") << candle;
        EXPECT_TRUE(fs::exists(chartLines)) << candle;
    }
    ASSERT_TRUE(Collect(company, "D"));
    EXPECT_EQ(company.ProcMark[2].MarkFlag, "");
    EXPECT_FALSE(fs::exists(chartLines));
}

// A Chinese stock's exchange is probed once (found at the second try here)
// and kept in its record, so the next collection asks no more.
TEST_F(PriceHistoryStock, ChineseSuffixIsProbedOnceAndKept) {
    const Date first{2026, 11, 2};
    site_.AddStock("CHN", "600000", first, kToDate, ".ss");
    marketdata::CdmRec company = Company("CHN", "600000");

    ASSERT_TRUE(Collect(company));
    EXPECT_EQ(marketdata::StoredMarketSuffix(company), ".ss");
    EXPECT_EQ(Rows(company, 1014), site_.ExpectedRows("CHN", "600000", 'D', first, kToDate));
    const int afterFirst = site_.Requests("CHN", "600000");
    EXPECT_EQ(afterFirst, 3);  // ".hk", ".ss", then the page itself

    ASSERT_TRUE(Collect(company));
    EXPECT_EQ(site_.Requests("CHN", "600000") - afterFirst, 1);
    EXPECT_EQ(site_.Violations(), std::vector<std::string>{});
}

// Weekly and monthly series are collected into files of their own.
TEST_F(PriceHistoryStock, WeeklyAndMonthlySeries) {
    const Date first{2024, 1, 1};
    for (const char* country : {"JPN", "USA"}) {
        SCOPED_TRACE(country);
        site_.AddStock(country, "1301", first, kToDate);
        for (const char candle : {'W', 'M'}) {
            marketdata::CdmRec company = Company(country, "1301");
            ASSERT_TRUE(Collect(company, std::string(1, candle)));
            EXPECT_EQ(Rows(company, 1014, std::string(1, candle)),
                      site_.ExpectedRows(country, "1301", candle, first, kToDate))
                << candle;
        }
    }
    EXPECT_EQ(site_.Violations(), std::vector<std::string>{});
}

// A page that cannot be fetched, or whose table stays missing after the
// refetches, leaves the stock's files and dates as they were (a stock that
// had none gets those of a stock without data); a table missing for a few
// fetches is waited out.
TEST_F(PriceHistoryStock, FailingPagesLeaveTheSeriesAsItWas) {
    const Date first{2026, 6, 1};
    // A stock that held nothing gets the dates of one without data.
    site_.AddStock("JPN", "6758", first, kToDate);
    site_.SetFailing("JPN", "6758", true);
    marketdata::CdmRec fresh = Company("JPN", "6758");
    EXPECT_TRUE(Collect(fresh));
    EXPECT_EQ(fresh.Term[1].FirstDate, "1900/01/01");
    EXPECT_EQ(fresh.Term[1].LastDate, "1900/01/01");
    EXPECT_FALSE(fs::exists(File(fresh, 1014, "D")));

    site_.AddStock("JPN", "7203", first, {2026, 10, 30});
    marketdata::CdmRec company = Company("JPN", "7203");
    settings_.ToDate = "2026/10/30";
    ASSERT_TRUE(Collect(company));
    const std::string held = testsupport::ReadBytes(File(company, 1014, "D"));
    const marketdata::TermRec term = company.Term[1];

    site_.SetLastDate("JPN", "7203", kToDate);
    settings_.ToDate = platform::DateText(kToDate);
    site_.SetFailing("JPN", "7203", true);
    EXPECT_TRUE(Collect(company));
    EXPECT_EQ(testsupport::ReadBytes(File(company, 1014, "D")), held);
    EXPECT_EQ(company.Term[1].LastDate, term.LastDate);

    site_.SetFailing("JPN", "7203", false);
    site_.SetTablelessPages("JPN", "7203", 12);
    EXPECT_TRUE(Collect(company));
    EXPECT_EQ(testsupport::ReadBytes(File(company, 1014, "D")), held);

    site_.SetTablelessPages("JPN", "7203", 3);
    EXPECT_TRUE(Collect(company));
    EXPECT_EQ(Rows(company, 1014), site_.ExpectedRows("JPN", "7203", 'D', first, kToDate));
}

// A site that shows its first rows whatever the position asked for: paging
// ends at the page that repeats them, with a warning. Without a series held
// those rows are the series; a series whose last date is older than them
// keeps its files and dates, as the rows would leave a gap after it, and so
// does one whose new split asks for the whole history again.
TEST_F(PriceHistoryStock, PageRepeatingThePageBeforeEndsThePaging) {
    common::LoadLogSwitches(env_);
    struct Case {
        const char* name;
        Date heldTo;  // {} : no series held
        bool newSplit;
        int pages;
    };
    const Case cases[] = {{"none held", {}, false, 2}, {"held to August", {2026, 8, 31}, false, 2},
                          {"new split", {2026, 11, 20}, true, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::PriceSite site;
        site.UseAsPriceSites();
        site.AddStock("JPN", "7203", {2026, 6, 1}, c.heldTo.year != 0 ? c.heldTo : kToDate);
        marketdata::CdmRec company = Company("JPN", "7203");
        fs::remove(File(company, 1014, "D"));
        if (c.heldTo.year != 0) {
            settings_.ToDate = platform::DateText(c.heldTo);
            ASSERT_TRUE(Collect(company));
        }
        const std::string before = c.heldTo.year != 0 ? testsupport::ReadBytes(File(company, 1014, "D")) : "";
        const marketdata::TermRec term = company.Term[1];
        site.SetLastDate("JPN", "7203", kToDate);
        if (c.newSplit) site.AddSplit("JPN", "7203", {2026, 11, 25}, 1, 2);
        site.IgnorePagePositions("JPN", "7203");
        settings_.ToDate = platform::DateText(kToDate);
        const int requests = site.Requests("/t");

        EXPECT_TRUE(Collect(company));

        EXPECT_EQ(site.Requests("/t") - requests, c.pages);
        if (c.heldTo.year != 0) {
            EXPECT_EQ(testsupport::ReadBytes(File(company, 1014, "D")), before);
            EXPECT_EQ(company.Term[1].LastDate, term.LastDate);
        } else {
            // The newest fifty weekdays.
            const std::vector<PriceLine> expected = site.ExpectedRows("JPN", "7203", 'D', {2026, 9, 28}, kToDate);
            EXPECT_EQ(Rows(company, 1014), expected);
            EXPECT_EQ(company.Term[1].FirstDate, expected.front()[0]);
        }
        const std::string log = platform::FromCp932(testsupport::ReadBytes(common::State().runLogPath)).text;
        EXPECT_NE(log.find("同一ページの繰り返しのため、ページ送りを終了　7203 : 銘柄7203"), std::string::npos);
    }
}

// A page cut short in its table is a failed fetch, fetched again, never the
// last page; a page in ISO-2022-JP that names no charset reads as it should
// (read as something else, its weekly dates turned into false ones). Either
// way the series is the site's, row for row.
TEST_F(PriceHistoryStock, PagesThatComeWrongAreNotTakenAsTheyCome) {
    using Fault = testsupport::PriceSite::PageFault;
    const struct {
        const char* name;
        Fault fault;
        const char* candle;
        int nth;
        int count;
        int requests;
    } cases[] = {{"cut", Fault::CutShort, "D", 2, 2, 3 + 2}, {"iso-2022-jp", Fault::UndeclaredIso2022Jp, "W", 1, 10, 1}};
    const Date first{2026, 6, 1};  // 135 weekdays: three daily pages; one weekly page
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::PriceSite site;
        site.UseAsPriceSites();
        site.AddStock("JPN", "7203", first, kToDate);
        site.SetFaultyPages("JPN", "7203", c.fault, c.nth, c.count);
        marketdata::CdmRec company = Company("JPN", "7203");

        ASSERT_TRUE(Collect(company, c.candle));

        EXPECT_EQ(Rows(company, 1014, c.candle), site.ExpectedRows("JPN", "7203", c.candle[0], first, kToDate));
        EXPECT_EQ(site.Requests("JPN", "7203"), c.requests);
        EXPECT_EQ(site.Violations(), std::vector<std::string>{});
    }
}

// A US price page of the rows given, in place of the price site: a row of
// two cells is an event row. Past 20 requests the page answers 404, so a
// collection that would ask for it without end ends all the same.
class FixedPricePage {
public:
    explicit FixedPricePage(const std::vector<std::vector<std::string>>& rows) {
        std::string table = "<table><tr><th>Date</th><th>Open</th><th>High</th><th>Low</th><th>Close</th>"
                            "<th>Volume</th><th>Adj Close*</th></tr>";
        for (const std::vector<std::string>& row : rows) {
            table += "<tr><td>" + row[0] + "</td>";
            if (row.size() == 2) table += "<td colspan=\"6\">" + row[1] + "</td>";
            for (std::size_t c = 1; row.size() > 2 && c < row.size(); ++c) table += "<td>" + row[c] + "</td>";
            table += "</tr>";
        }
        page_ = "<html><body><p>Historical Prices</p>" + table + "</table></body></html>";
        common::WriteSetting("MirControl\\HpGet\\SiteUsPortal", server_.HostPort());
    }
    int Requests() { return server_.Hits("/q/hp"); }

private:
    std::string page_;
    testsupport::PageServer server_{[this](httplib::Server& s) {
        s.Get("/q/hp", [this](const httplib::Request&, httplib::Response& response) {
            if (++served_ > 20) {
                response.status = 404;
                return;
            }
            response.set_content(page_, "text/html");
        });
    }};
    std::atomic<int> served_ = 0;
};

// The file's lines split at TAB.
std::vector<std::vector<std::string>> FileLines(const fs::path& path) {
    std::vector<std::vector<std::string>> lines;
    for (const std::string& line : Split(platform::FromCp932(testsupport::ReadBytes(path)).text, '\n')) {
        lines.push_back(Split(line.substr(0, line.find('\r')), '\t'));
    }
    return lines;
}

// Character references of TAB, CR and LF in a page's cells: the series keeps
// seven columns a line (an adjusted close "104<TAB>*" would make a provisional
// row of eighth column "*") and gains no row of a date the page never gave.
TEST_F(PriceHistoryStock, ControlCharactersOfAPageStayOutOfTheSeries) {
    FixedPricePage page({{"4-Dec-26", "100", "110", "90", "105", "5&#13;000", "104&#9;*"},
                         {"3-Dec-26", "100", "110", "90&#10;2024/01/01", "105", "5000", "104"},
                         {"2-Dec-26", "100", "110", "90", "105", "5000", "104"}});
    marketdata::CdmRec company = Company("USA", "IBM");

    ASSERT_TRUE(Collect(company));

    const std::vector<std::vector<std::string>> lines = FileLines(File(company, 1014, "D"));
    ASSERT_EQ(lines.size(), 2u);
    for (const std::vector<std::string>& line : lines) EXPECT_EQ(line.size(), 7u) << line[0];
    EXPECT_EQ(lines[0][0], "2026/12/02");
    EXPECT_EQ(lines[1][0], "2026/12/04");
    EXPECT_EQ(lines[1][5], "5 000");
    EXPECT_EQ(lines[1][6], "104 *");
}

// A price beyond the range of amounts is stored as "0" (logged): kept, it
// would stop every later reading of the series. The row then reads as none.
TEST_F(PriceHistoryStock, PriceBeyondRangeIsStoredAsZero) {
    FixedPricePage page({{"4-Dec-26", "100", "110", "90", "1,000,000,000,000,000", "5000", "104"},
                         {"3-Dec-26", "100", "110", "90", "105", "5000", "104"}});
    marketdata::CdmRec company = Company("USA", "IBM");

    ASSERT_TRUE(Collect(company));
    ASSERT_TRUE(Collect(company));

    const std::vector<std::vector<std::string>> lines = FileLines(File(company, 1014, "D"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1][4], "0");
    std::vector<marketdata::PriceRec> rows;
    ASSERT_TRUE(marketdata::LoadPriceSeries(1014, env_, company.Key, "D", "", ".txt", rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Text[0], "2026/12/03");
}

// A split row dated after the To date is no new split: the stock is not
// collected again (for ever, as the page shows it again every time), and the
// row goes to the split file.
TEST_F(PriceHistoryStock, SplitAfterTheToDateIsNoNewSplit) {
    FixedPricePage page({{"10-Dec-26", "2 : 1 Stock Split"},
                         {"4-Dec-26", "100", "110", "90", "105", "5000", "104"},
                         {"3-Dec-26", "100", "110", "90", "105", "5000", "104"}});
    marketdata::CdmRec company = Company("USA", "IBM");

    ASSERT_TRUE(Collect(company));

    EXPECT_EQ(page.Requests(), 1);
    EXPECT_EQ(Rows(company, 1014).size(), 2u);
    ASSERT_EQ(Rows(company, 1015).size(), 1u);
    EXPECT_EQ(Rows(company, 1015)[0][0], "2026/12/10");
}

// A cancel is seen before the first page: nothing is written, and the task is
// marked suspended.
TEST_F(PriceHistoryStock, CancelWritesNothingAndSuspendsTheTask) {
    site_.AddStock("JPN", "7203", {2026, 6, 1}, kToDate);
    marketdata::CdmRec company = Company("JPN", "7203");
    common::WriteSetting("MirControl\\Common\\Cancel", "1");

    EXPECT_FALSE(Collect(company));

    EXPECT_FALSE(fs::exists(File(company, 1014, "D")));
    EXPECT_EQ(site_.Requests("/t"), 0);
    common::TSDRec report;
    ASSERT_TRUE(common::CFTSD10M(114, "", kProcess, 1, "S", env_, report));
    EXPECT_EQ(report.TaskStatus, "S");
}

}  // namespace
