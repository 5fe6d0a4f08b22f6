// The three company-list collectors in process, each as the child of one
// task, on a loopback list site.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "collect/company_lists/cn_company_list.h"
#include "collect/company_lists/jp_company_list.h"
#include "collect/company_lists/us_company_list.h"
#include "collect/web/page_cell_table.h"
#include "common/files/data_file.h"
#include "common/files/file_registry.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/tasks/task_files.h"
#include "common/tasks/waits.h"
#include "marketdata/company_list.h"
#include "marketdata/industry_list.h"
#include "platform/utf8_text.h"
#include "tests/collect/split_run_files.h"
#include "tests/support/list_site.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ListedCompany;
using testsupport::ListSite;

constexpr const char* kCancel = "MirControl\\Common\\Cancel";

struct Country {
    long countryIndex;
    const char* code;
    long industryFile;
    const char* namePart;
    long companyFile;
    bool (*collector)(long, const std::string&, common::EnvRec&, common::MSGRec&, common::TSDRec&);
};

const Country kJapan{1, "JPN", 3002, "", 1003, collect::ALSJP30M};
const Country kChina{2, "CHN", 3004, "Market", 1004, collect::ALSCN30M};
const Country kUsa{3, "USA", 3003, "", 1006, collect::AL2US30M};

// Task 1 of the country's company-list run, collected in this process.
class ListTask : public collect_test::SplitRunFiles {
protected:
    explicit ListTask(const Country& country)
        : SplitRunFiles(4, country.countryIndex, 40 + country.countryIndex, 1), country_(country) {
        common::SetWaitScaleForTests(0.01f);
        site.UseBrandSetting();
        WriteTasks({"0"});
    }
    ~ListTask() override { common::SetWaitScaleForTests(1.0f); }

    // The task's industry list: the site's rows, edited by `edit`.
    void WriteIndustries(const std::function<void(std::vector<marketdata::IndustryRec>&)>& edit = nullptr) {
        std::vector<marketdata::IndustryRec> rows = site.IndustryRows(country_.code);
        if (edit) edit(rows);
        marketdata::BuildIndustryLines(country_.industryFile, process, 1, country_.namePart, "", env, rows);
    }

    void SetStatus(const std::string& status) {
        task.TaskStatus = status;
        common::CFTSD50M(process, 1, env, task);
    }

    bool Collect() {
        common::MSGRec msg;
        return country_.collector(process, "", env, msg, task);
    }

    std::string CompanyPath() { return DataPath(country_.companyFile, process, 1, ".tmp"); }
    std::string FinishedPath() { return DataPath(country_.industryFile, process, 1, ".tmp"); }
    std::string PagedPath() { return DataPath(country_.industryFile, process, 1, ".rcv"); }

    std::vector<marketdata::ListRec> Companies() {
        std::vector<std::string> lines;
        common::CFFIL21M(CompanyPath(), lines);
        std::vector<marketdata::ListRec> recs(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(marketdata::LineToListRec(lines[i], recs[i]));
        return recs;
    }
    std::vector<ListedCompany> Collected() {
        std::vector<ListedCompany> listed;
        for (const marketdata::ListRec& rec : Companies()) {
            listed.push_back({country_.code, platform::TrimBlanks(rec.Key.CorpCode), rec.ListText[1]});
        }
        return listed;
    }

    // The industry codes of the finished-industries file, each with its flag.
    std::vector<std::string> Finished() {
        std::vector<std::string> lines;
        common::CFFIL21M(FinishedPath(), lines);
        std::vector<std::string> codes;
        for (const std::string& line : lines) {
            marketdata::IndustryRec rec;
            EXPECT_TRUE(marketdata::ParseIndustryLine(line, rec));
            codes.push_back(platform::TrimBlanks(rec.Key.CorpCode) + ":" + rec.Key.Flag1 + ":" + rec.Fixed4);
        }
        return codes;
    }

    std::string Report(long fileNumber) {
        common::TSDRec report;
        return common::CFTSD10M(fileNumber, "", process, 1, "S", env, report) ? report.TaskStatus : "";
    }

    ListSite site;

private:
    const Country& country_;
};

class JapanList : public ListTask {
protected:
    JapanList() : ListTask(kJapan) {}
};

// Three pages of 20, 20 and 1 with a sub-header each, and a one-page
// industry ended by the brand: every company once, in page order, with its
// page number and the industry's codes and names.
TEST_F(JapanList, PagesThroughEveryIndustryAndWritesEachCompanyOnce) {
    site.AddIndustry("JPN", "5001", "水産・農林業", 41);
    site.AddIndustry("JPN", "5002", "鉱業", 7);
    WriteIndustries([](std::vector<marketdata::IndustryRec>& rows) { rows[0].Text[11] = "東証"; });

    EXPECT_TRUE(Collect());

    EXPECT_EQ(Collected(), site.Listed("JPN"));
    EXPECT_EQ(site.Requests("JPN", "5001"), 3);
    EXPECT_EQ(site.Requests("JPN", "5002"), 1);
    const std::vector<marketdata::ListRec> recs = Companies();
    ASSERT_EQ(recs.size(), 48u);
    const marketdata::ListRec& last = recs[40];  // the one company of page 3
    EXPECT_EQ(last.ListCode, "0003");
    EXPECT_EQ(recs[0].ListCode, "0001");
    EXPECT_EQ(last.Key.Market, "JPN");
    EXPECT_EQ(last.Key.Category, "1000");
    EXPECT_EQ(last.Key.IndCode0050, "5001");
    EXPECT_EQ(last.Key.Flag1 + last.Key.Flag2, "  ");
    EXPECT_EQ(last.Key.UpdateDate, platform::DateText(platform::Now().date));
    EXPECT_EQ(last.ListText[2], last.ListText[1]);
    EXPECT_EQ(last.ListText[7], "東証プライム");
    EXPECT_NE(last.ListText[29].find("/jp/company/" + platform::TrimBlanks(last.Key.CorpCode) + ".html"),
              std::string::npos);
    EXPECT_EQ(last.ListText[8], "東証");
    EXPECT_EQ(last.ListText[14], "水産・農林業");
    EXPECT_EQ(Finished(), (std::vector<std::string>{"5001:0:0003", "5002:0:0001"}));
    EXPECT_FALSE(fs::exists(PagedPath()));
    EXPECT_EQ(Report(111), "B");
    EXPECT_EQ(Report(114), "Z");
    const std::string log = ReadLog(common::State().runLogPath);
    EXPECT_NE(log.find("ALSJP30M\t取得予定件数=\t0041\t　　取得件数=\t0041\t　　業種=水産・農林業"), std::string::npos);
}

// The brand ends a page's list before the footer; without the setting the
// footer's year row is taken for a company.
TEST_F(JapanList, BrandSettingEndsTheListBeforeTheFooter) {
    site.AddIndustry("JPN", "5002", "鉱業", 7);
    WriteIndustries();
    common::WriteSetting("MirControl\\HpGet\\ListBrand", "");

    Collect();

    const std::vector<ListedCompany> collected = Collected();
    ASSERT_EQ(collected.size(), 8u);
    EXPECT_EQ(collected.back().code, "2026");
}

// A page missing before the expected end, a failing industry and an industry
// expecting no company each end their paging; the industries still count as
// finished and the run goes on.
TEST_F(JapanList, ShortfallsEndThePagingOfTheirIndustryOnly) {
    site.AddIndustry("JPN", "5001", "水産・農林業", 25);
    site.AddIndustry("JPN", "5002", "鉱業", 3);
    site.AddIndustry("JPN", "5003", "建設業", 3);
    site.AddIndustry("JPN", "5004", "食料品", 2);
    site.SetFailing("JPN", "5002", true);
    WriteIndustries([](std::vector<marketdata::IndustryRec>& rows) {
        rows[0].Fixed6 = "000061";  // four pages expected, two exist
        rows[2].Fixed6 = "000000";
    });

    EXPECT_TRUE(Collect());

    EXPECT_EQ(site.Requests("JPN", "5001"), 3);
    EXPECT_EQ(site.Requests("JPN", "5003"), 0);
    std::vector<ListedCompany> expected = site.Listed("JPN");
    expected.erase(expected.begin() + 25, expected.begin() + 31);  // the failing and the unexpected ones
    EXPECT_EQ(Collected(), expected);
    EXPECT_EQ(Finished(), (std::vector<std::string>{"5001:0:0002", "5002:0:0000", "5003:0:0000", "5004:0:0001"}));
    EXPECT_EQ(Report(114), "Z");
    EXPECT_NE(ReadLog(common::State().runLogPath).find("取得予定件数=\t0061\t　　取得件数=\t0025"), std::string::npos);
}

// A fetched page whose first column holds `rows`.
collect::FetchRec JapanesePage(const std::vector<std::string>& rows) {
    collect::PageText().Reset(static_cast<std::int32_t>(rows.size()), 3);
    collect::PageLink().Reset(static_cast<std::int32_t>(rows.size()), 3);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        collect::PageText().Append(static_cast<std::int32_t>(i + 1), 1, rows[i]);
    }
    collect::FetchRec fetch;
    fetch.RowCount = static_cast<std::int32_t>(rows.size());
    fetch.ColCount = 3;
    return fetch;
}

TEST_F(JapanList, FooterNotesAndSubHeadersAreNoCompanies) {
    const collect::FetchRec fetch =
        JapanesePage({"コード", "1301", "【東証】", "1302", "この情報は遅れて表示されます", "9999"});
    ASSERT_EQ(collect::FindJpListStart(fetch), 2);
    marketdata::IndustryRec industry;
    marketdata::InitIndustryRec("JPN", "0001", "0050", "", industry);
    long count = 0;

    collect::ParseJpListPage(2, industry, count, CompanyPath());

    EXPECT_EQ(count, 2);
    ASSERT_EQ(Companies().size(), 2u);
    EXPECT_EQ(platform::TrimBlanks(Companies()[1].Key.CorpCode), "1302");
    EXPECT_EQ(collect::IndustryPageUrl("http://h/jp/5001/p", 12), "http://h/jp/5001/p12.html");
}

// A header in the last row is a list without companies, not the end of the
// industry's pages; a page without the header is.
TEST_F(JapanList, HeaderInTheLastRowKeepsThePagingGoing) {
    ASSERT_EQ(collect::FindJpListStart(JapanesePage({"業種", "コード"})), 3);
    marketdata::IndustryRec industry;
    marketdata::InitIndustryRec("JPN", "0001", "0050", "", industry);
    long count = 0;
    collect::ParseJpListPage(3, industry, count, CompanyPath());
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(fs::exists(CompanyPath()));
    EXPECT_EQ(collect::FindJpListStart(JapanesePage({"業種", "1301"})), 0);
}

// A cancel while an industry is paged takes effect before the next
// industry's first page; the task, started again even after a failure, skips
// the finished industry and keeps its companies.
TEST_F(JapanList, CancelSuspendsBetweenIndustriesAndARestartSkipsTheFinishedOnes) {
    site.AddIndustry("JPN", "5001", "水産・農林業", 30);
    site.AddIndustry("JPN", "5002", "鉱業", 5);
    WriteIndustries();
    InstallPump(std::make_shared<testsupport::CallbackPump>([this] {
        if (site.Requests("JPN", "5001") == 1 && common::ReadSetting(kCancel).empty()) {
            common::WriteSetting(kCancel, "1");
        }
    }));

    EXPECT_TRUE(Collect());

    EXPECT_EQ(site.Requests("JPN", "5001"), 2) << "the industry in hand is paged to its end";
    EXPECT_EQ(site.Requests("JPN", "5002"), 0);
    EXPECT_EQ(Report(114), "S");
    EXPECT_FALSE(fs::exists(PagedPath()));
    EXPECT_EQ(Collected().size(), 30u);

    InstallPump(ui.pump);
    common::WriteSetting(kCancel, "");
    SetStatus("E");
    EXPECT_TRUE(Collect());

    EXPECT_EQ(site.Requests("JPN", "5001"), 2);
    EXPECT_EQ(site.Requests("JPN", "5002"), 1);
    EXPECT_EQ(Collected(), site.Listed("JPN"));
    EXPECT_EQ(Report(114), "Z");
    std::vector<marketdata::IndustryRec> list;
    marketdata::IndustryLoadReq request;
    request.FNameIdx = 3002;
    request.ProcIdx = process;
    request.FNameSeq = 1;
    ASSERT_TRUE(marketdata::LoadIndustryList(request, env, list));
    EXPECT_EQ(list[0].Key.Flag1, "0");
    EXPECT_EQ(list[1].Key.Flag1, "1");
}

// A child killed while it wrote a page leaves a line without its end; the
// task started again cuts it off, so that it swallows no company written
// after it.
TEST_F(JapanList, RestartCutsAHalfWrittenLineOff) {
    site.AddIndustry("JPN", "5001", "水産・農林業", 5);
    WriteIndustries();
    testsupport::WriteBytes(CompanyPath(), "JPN\t0001\t1000\t    \t");
    SetStatus("S");

    EXPECT_TRUE(Collect());

    EXPECT_EQ(Collected(), site.Listed("JPN"));
    EXPECT_EQ(Report(114), "Z");
}

// A task whose every industry was finished before it could report its end
// ends as done instead of failing again at every start.
TEST_F(JapanList, TaskWithEveryIndustryFinishedEndsDone) {
    site.AddIndustry("JPN", "5001", "水産・農林業", 3);
    WriteIndustries();
    std::vector<marketdata::IndustryRec> rows = site.IndustryRows("JPN");
    rows[0].Key.Flag1 = "0";
    marketdata::BuildIndustryLines(3002, process, 1, "", ".tmp", env, rows);
    SetStatus("E");

    EXPECT_TRUE(Collect());

    EXPECT_EQ(site.Requests("JPN", "5001"), 0);
    EXPECT_EQ(Report(114), "Z");
    EXPECT_TRUE(ui.presenter->boxes.empty());
}

TEST_F(JapanList, MissingIndustryListIsAnApplicationErrorAndLeavesTheTask) {
    EXPECT_TRUE(Collect());

    ASSERT_EQ(ui.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui.presenter->boxes[0].text.rfind("アプリケーションエラー（業種情報が存在しません）　", 0), 0u);
    EXPECT_EQ(Report(111), "");
    EXPECT_EQ(Report(114), "");
    EXPECT_NE(ReadLog(common::State().errorLogPath).find("業種情報が存在しません"), std::string::npos);
}

class UsaList : public ListTask {
protected:
    UsaList() : ListTask(kUsa) {}
};

TEST_F(UsaList, CollectsEveryCompanyOfEachIndustryPage) {
    site.AddIndustry("USA", "7001", "Software", 4);
    site.AddIndustry("USA", "7002", "Banks", 2);
    site.AddCompany("USA", "7002", "BRKB", "BRKB");
    WriteIndustries();

    EXPECT_TRUE(Collect());

    EXPECT_EQ(Collected(), site.Listed("USA"));
    const std::vector<marketdata::ListRec> recs = Companies();
    ASSERT_EQ(recs.size(), 7u);
    EXPECT_EQ(recs[1].ListText[1], "Company TB (Holdings) Inc");
    EXPECT_EQ(recs[1].ListText[4], recs[1].ListText[1]);
    EXPECT_EQ(recs[1].Key.Category, "1000");
    EXPECT_EQ(recs[6].Key.IndCode0050, "7002");
    EXPECT_EQ(Finished(), (std::vector<std::string>{"7001:0:0000", "7002:0:0000"}));
    EXPECT_EQ(Report(114), "Z");
}

TEST_F(UsaList, NameAndTickerOfACell) {
    struct Case {
        const char* cell;
        const char* code;
        const char* name;
    };
    const Case cases[] = {
        {"Alpha (Holdings) Inc (ALPH)", "ALPH", "Alpha (Holdings) Inc"},
        {"  Beta Corp ( BET )  ", "BET", "Beta Corp"},
        {"GAMMA,CO", "GAMMACO", "GAMMACO"},
        {"(DLT)", "DLT", "DLT"},
    };
    marketdata::IndustryRec industry;
    marketdata::InitIndustryRec("USA", "0001", "0050", "", industry);
    for (const Case& c : cases) {
        collect::PageText().Reset(1, 3);
        collect::PageText().Append(1, 2, c.cell);
        marketdata::ListRec rec;
        collect::BuildUsListRec(1, 2, industry, rec);
        EXPECT_EQ(platform::TrimBlanks(rec.Key.CorpCode), c.code) << c.cell;
        EXPECT_EQ(rec.ListText[1], c.name) << c.cell;
    }
}

// A company listed without its ticker has no code to be known by: skipped
// with a warning, the others of its page written.
TEST_F(UsaList, CompanyWithoutATickerIsSkipped) {
    site.AddIndustry("USA", "7001", "Software", 2);
    site.AddCompany("USA", "7001", " ", "Foo Corp");
    const ListedCompany last = site.AddCompany("USA", "7001");
    WriteIndustries();

    EXPECT_TRUE(Collect());

    const std::vector<marketdata::ListRec> recs = Companies();
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(platform::TrimBlanks(recs[2].Key.CorpCode), last.code);
    for (const marketdata::ListRec& rec : recs) EXPECT_NE(platform::TrimBlanks(rec.Key.CorpCode), "");
    EXPECT_NE(ReadLog(common::State().runLogPath)
                  .find("90:Worning,00,米国・企業一覧のコードが無い企業を読み飛ばしました。　Foo Corp ( )"),
              std::string::npos);
}

// A failed fetch ends the run and fails the task, reported once: the
// dispatcher sees the end report sent. Started again, the task skips the
// industry it finished and keeps its companies.
TEST_F(UsaList, FailedFetchFailsTheTaskOnceAndARestartKeepsTheFinishedIndustry) {
    site.AddIndustry("USA", "7001", "Software", 2);
    site.AddIndustry("USA", "7002", "Banks", 2);
    site.AddIndustry("USA", "7003", "Retail", 2);
    site.SetFailing("USA", "7002", true);
    WriteIndustries();

    EXPECT_FALSE(Collect());

    EXPECT_EQ(Report(114), "E");
    EXPECT_EQ(common::State().TaskPhase, "02");
    EXPECT_EQ(site.Requests("USA", "7003"), 0);
    EXPECT_EQ(Finished(), std::vector<std::string>{"7001:0:0000"});
    EXPECT_EQ(Collected().size(), 2u);

    site.SetFailing("USA", "7002", false);
    SetStatus("E");
    EXPECT_TRUE(Collect());

    EXPECT_EQ(site.Requests("USA", "7001"), 1);
    EXPECT_EQ(Collected(), site.Listed("USA"));
    EXPECT_EQ(Report(114), "Z");
}

TEST_F(UsaList, PageWithoutTheCompanyTableEndsTheRunWithItsLogLines) {
    site.AddIndustry("USA", "7001", "Software", 2);
    site.AddIndustry("JPN", "5001", "鉱業", 1);
    std::string url;
    WriteIndustries([&](std::vector<marketdata::IndustryRec>& rows) {
        url = site.IndustryRows("JPN")[0].Text[23] + "1.html";
        rows[0].Text[23] = url;
    });

    EXPECT_FALSE(Collect());

    EXPECT_EQ(Report(114), "");
    EXPECT_TRUE(Companies().empty());
    EXPECT_NE(ReadLog(common::State().errorLogPath).find("米国・企業一覧の開始位置が特定出来ません。    URL=" + url),
              std::string::npos);
    EXPECT_NE(ReadLog(common::State().runLogPath).find("90:Worning,00,米国・企業一覧の開始位置が特定出来ません。"),
              std::string::npos);
}

class ChinaList : public ListTask {
protected:
    ChinaList() : ListTask(kChina) {}
};

// Two grid rows a company, at most twenty a page; the second row of a
// company is never a company of its own.
TEST_F(ChinaList, TakesTwentyCompaniesOfTwoRowsEach) {
    site.AddIndustry("CHN", "8001", "銀行業", 25);
    site.AddIndustry("CHN", "8002", "鉄鋼業", 3);
    WriteIndustries();

    EXPECT_TRUE(Collect());

    std::vector<ListedCompany> expected = site.Listed("CHN");
    expected.erase(expected.begin() + 20, expected.begin() + 25);
    EXPECT_EQ(Collected(), expected);
    const std::vector<marketdata::ListRec> recs = Companies();
    ASSERT_EQ(recs.size(), 23u);
    const marketdata::ListRec& rec = recs[21];
    EXPECT_EQ(rec.ListText[2], "SH" + platform::TrimBlanks(rec.Key.CorpCode));
    EXPECT_EQ(rec.ListText[14], "上海Ａ");
    EXPECT_EQ(rec.ListText[3], "鉄鋼業");
    EXPECT_EQ(rec.ListText[4], "人民元");
    EXPECT_EQ(rec.Key.Category, "1000");
    EXPECT_FALSE(fs::exists(FinishedPath()));
    EXPECT_EQ(Report(114), "Z");
}

// Without a record of finished industries a failed task starts afresh: its
// old part file goes, every industry is collected again.
TEST_F(ChinaList, RestartAfterFailureReplacesThePartFile) {
    site.AddIndustry("CHN", "8001", "銀行業", 2);
    site.AddIndustry("CHN", "8002", "鉄鋼業", 2);
    site.SetFailing("CHN", "8002", true);
    WriteIndustries();

    EXPECT_FALSE(Collect());
    EXPECT_EQ(Report(114), "E");
    EXPECT_EQ(common::State().TaskPhase, "02");
    EXPECT_EQ(Collected().size(), 2u);

    site.SetFailing("CHN", "8002", false);
    SetStatus("E");
    EXPECT_TRUE(Collect());

    EXPECT_EQ(site.Requests("CHN", "8001"), 2);
    EXPECT_EQ(Collected(), site.Listed("CHN"));
    EXPECT_EQ(Report(114), "Z");
}

TEST_F(ChinaList, CancelBeforeAnIndustrySuspendsTheTask) {
    site.AddIndustry("CHN", "8001", "銀行業", 2);
    WriteIndustries();
    common::WriteSetting(kCancel, "1");

    EXPECT_TRUE(Collect());

    EXPECT_EQ(site.Requests("CHN", "8001"), 0);
    EXPECT_EQ(Report(114), "S");
    EXPECT_TRUE(Companies().empty());
}

}  // namespace
