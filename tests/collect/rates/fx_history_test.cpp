// The history collector of one currency in process, on the loopback rates
// site: paging, the merge into the stored history, and the runs that leave
// the history as it was.
#include "collect/rates/fx_history_collector.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "collect/rates/fx_history_file.h"
#include "collect/rates/fx_history_page.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "common/settings/settings.h"
#include "common/tasks/waits.h"
#include "platform/date.h"
#include "tests/collect/laid_out_page.h"
#include "tests/collect/split_run_files.h"
#include "tests/support/file_bytes.h"
#include "tests/support/rates_site.h"

namespace {

namespace fs = std::filesystem;
using platform::Date;

constexpr long kRunProcess = 111;  // the parent's process: kind 11, country 1
constexpr Date kFirst{2026, 10, 1};
constexpr Date kLast{2026, 12, 4};  // 47 weekdays from kFirst: three pages

// The child of the task of one currency (task sequence = country index).
class FxHistory : public collect_test::SplitRunFiles {
protected:
    FxHistory() : SplitRunFiles(11, 1, kRunProcess, 1) {
        common::SetWaitScaleForTests(0.01f);
        site.UseAsRateSites();
        WriteTasks({"0", "0", "0", "0", "0", "0", "0"});
    }
    ~FxHistory() override { common::SetWaitScaleForTests(1.0f); }

    // Runs the task of the currency of `country` as the child dispatcher would.
    void Collect(long country) {
        common::SetTaskWorkPaths(kRunProcess, country, env);
        common::SetProcessContext(11, country);
        ASSERT_TRUE(common::CFTSD10M(102, "", kRunProcess, country, "", env, task));
        common::MSGRec msg;
        EXPECT_TRUE(collect::AEXCG30M(11, "", env, msg, task));
    }

    std::string History(const std::string& currencyName, const std::string& extension = ".txt") {
        return common::BuildDataFilePath(1017, 0, 0, "(" + currencyName + ")", extension, env);
    }
    std::vector<std::string> Lines(const std::string& path) {
        std::vector<std::string> lines;
        common::CFFIL21M(path, lines);
        return lines;
    }
    std::string EndReport(long country) {
        common::TSDRec report;
        return common::CFTSD10M(114, "", kRunProcess, country, "S", env, report) ? report.TaskStatus : "";
    }

    testsupport::RatesSite site;
};

// Without a stored history every page is read, to the one without the next
// link; the US dollar's pages come in UTF-8, the yen's in Shift_JIS.
TEST_F(FxHistory, FirstRunReadsEveryPage) {
    struct Case {
        long country;
        const char* code;
        const char* name;
    };
    for (const Case& c : {Case{1, "JPY", "日本円"}, Case{3, "USD", "米ドル"}}) {
        SCOPED_TRACE(c.code);
        site.SetHistory(c.code, kFirst, kLast);
        Collect(c.country);
        EXPECT_EQ(Lines(History(c.name)), site.ExpectedLines(c.code, kFirst, kLast));
        EXPECT_EQ(site.Offsets(c.code), (std::vector<long>{0, 20, 40}));
        EXPECT_FALSE(fs::exists(History(c.name, ".tmp")));
        EXPECT_EQ(EndReport(c.country), "Z");
    }
}

// Paging ends at the page that shows the last stored date; the rows up to it
// are merged, the site's row of that date replacing the stored one.
TEST_F(FxHistory, NextRunStopsAtTheLastStoredDateAndReplacesItsRow) {
    site.SetHistory("GBP", kFirst, kLast);
    const Date lastStored{2026, 11, 6};  // row 21 from the newest: the second page's first
    std::vector<std::string> stored = site.ExpectedLines("GBP", kFirst, {2026, 11, 5});
    stored.push_back("GBP\t2026/11/06\t1\t2\t3\t4\t5\t6\t7");
    common::CFFIL30M(stored, History("英ポンド"));

    Collect(6);

    std::vector<std::string> expected = site.ExpectedLines("GBP", kFirst, {2026, 11, 5});
    for (const std::string& line : site.ExpectedLines("GBP", lastStored, kLast)) expected.push_back(line);
    EXPECT_EQ(Lines(History("英ポンド")), expected);
    EXPECT_EQ(site.Offsets("GBP"), (std::vector<long>{0, 20}));
    EXPECT_EQ(EndReport(6), "Z");
}

// Two consecutive rows of one date on a page become one line: the first.
TEST_F(FxHistory, ConsecutiveRowsOfOneDateBecomeOneLine) {
    const Date first{2026, 11, 23};
    site.SetHistory("HKD", first, kLast);
    site.DoubleDate("HKD", {2026, 12, 1});

    Collect(4);

    EXPECT_EQ(Lines(History("香港ドル")), site.ExpectedLines("HKD", first, kLast));
}

// A page that fails or comes without its table after rows were gathered, or
// a first page without its table, leaves the stored history byte for byte;
// the reason is in the run log. A work file an earlier run left is gone.
TEST_F(FxHistory, BrokenPageLeavesTheHistoryAsItWas) {
    struct Case {
        const char* code;
        long country;
        const char* name;
        long offset;
        bool tableless;
        std::string logged;
    };
    const Case cases[] = {
        {"CNY", 2, "人民元", 20, false, "収集済みの20件は書き込みません"},
        {"TWD", 5, "台湾ドル", 0, true, "為替情報の収集失敗（履歴表の特定不能）"},
        {"XEU", 7, "欧州通貨", 20, true, "為替情報の収集失敗（履歴表の特定不能）"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        site.SetHistory(c.code, kFirst, kLast);
        const std::vector<std::string> stored = site.ExpectedLines(c.code, kFirst, {2026, 10, 9});
        common::CFFIL30M(stored, History(c.name));
        const std::string before = testsupport::ReadBytes(History(c.name));
        common::CFFIL30M(std::vector<std::string>{std::string(c.code) + "\t2026/12/31\t9\t9\t9\t9\t9\t9\t9"},
                         History(c.name, ".tmp"));
        if (c.tableless) {
            site.SetTablelessPage(c.code, c.offset);
        } else {
            site.SetFailingPage(c.code, c.offset);
        }

        Collect(c.country);

        EXPECT_EQ(testsupport::ReadBytes(History(c.name)), before);
        EXPECT_FALSE(fs::exists(History(c.name, ".tmp")));
        EXPECT_NE(ReadLog(common::State().runLogPath).find(c.logged), std::string::npos);
        EXPECT_EQ(EndReport(c.country), "Z");
    }
}

// A site that serves its first page whatever the offset: paging ends at the
// page that repeats it, with a warning. Without a stored history that page's
// rows are written; a stored history older than them keeps as it was, as
// they would leave a gap after it.
TEST_F(FxHistory, PageRepeatingThePageBeforeEndsThePaging) {
    struct Case {
        const char* code;
        long country;
        const char* name;
        bool stored;
    };
    for (const Case& c : {Case{"USD", 3, "米ドル", false}, Case{"GBP", 6, "英ポンド", true}}) {
        SCOPED_TRACE(c.code);
        site.SetHistory(c.code, kFirst, kLast);
        site.IgnoreOffsets(c.code);
        if (c.stored) common::CFFIL30M(site.ExpectedLines(c.code, kFirst, {2026, 10, 9}), History(c.name));
        const std::string before = c.stored ? testsupport::ReadBytes(History(c.name)) : "";

        Collect(c.country);

        EXPECT_EQ(site.Offsets(c.code), (std::vector<long>{0, 20}));
        if (c.stored) {
            EXPECT_EQ(testsupport::ReadBytes(History(c.name)), before);
        } else {
            // The newest twenty weekdays.
            EXPECT_EQ(Lines(History(c.name)), site.ExpectedLines(c.code, {2026, 11, 9}, kLast));
        }
        EXPECT_NE(ReadLog(common::State().runLogPath).find("同一ページの繰り返しのため、ページ送りを終了"),
                  std::string::npos);
        EXPECT_EQ(EndReport(c.country), "Z");
    }
}

// A header row is the table's only when it names each of its eight columns
// once: with XEU twice and no GBP, the GBP rates would be the XEU ones.
TEST(FxHistoryPage, HeaderNamesEachColumnOnce) {
    const auto header = [](const std::string& cells) {
        const collect_test::LaidOutPage page = collect_test::LayOutPage(
            "<table><tr><td>為替</td></tr><tr>" + cells + "</tr><tr><td>2026/12/04</td></tr></table>");
        collect::FxColumnMap map;
        const std::int32_t row = collect::FindFxHistoryHeader(page.text, map);
        return row == 0 ? std::string("none") : std::to_string(row) + ":" + std::to_string(map.RateCols[6]);
    };
    const std::string rates = "<td>CNY</td><td>USD</td><td>JPY</td><td>HKD</td><td>TWD</td><td>XEU</td>";
    EXPECT_EQ(header("<td>通貨種類</td>" + rates + "<td>GBP</td>"), "2:8");
    EXPECT_EQ(header("<td>通貨種類</td>" + rates + "<td>XEU</td>"), "none");
    EXPECT_EQ(header("<td>通貨種類</td>" + rates + "<td>GBP</td><td>USD</td>"), "none");
}

// A stored line of another field count is a damaged one: skipped and logged,
// never read with its fields shifted.
TEST_F(FxHistory, StoredLineOfAnotherFieldCountIsSkipped) {
    common::CFFIL30M(std::vector<std::string>{"JPY\t2026/10/01\t1\t2\t3\t4\t5\t6\t7",
                                              "JPY\t2026/10/02\t1\t2\t3\t4\t5\t6\t7\t8"},
                     History("日本円"));
    std::vector<collect::FxHistoryRec> rows;
    collect::LoadFxHistory(env, "(日本円)", "", rows);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Date, "2026/10/01");
    EXPECT_NE(ReadLog(common::State().errorLogPath).find("2行目　項目数=10"), std::string::npos);
}

TEST_F(FxHistory, CancelLeavesTheTaskSuspendedWithNothingWritten) {
    site.SetHistory("JPY", kFirst, kLast);
    common::WriteSetting("MirControl\\Common\\Cancel", "1");

    Collect(1);

    EXPECT_FALSE(fs::exists(History("日本円")));
    EXPECT_TRUE(site.Offsets("JPY").empty());
    EXPECT_EQ(EndReport(1), "S");
}

}  // namespace
