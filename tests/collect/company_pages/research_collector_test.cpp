// The research-provider collector of a child copy, in process, against a
// loopback report site.
#include "collect/company_pages/research_collector.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/files/text_file_read.h"
#include "common/settings/settings.h"
#include "common/startup/process_context.h"
#include "common/tasks/task_files.h"
#include "common/tasks/waits.h"
#include "marketdata/multex_record.h"
#include "marketdata/research_fields.h"
#include "marketdata/split_run_frame.h"
#include "platform/utf8_text.h"
#include "tests/collect/page_server.h"
#include "tests/collect/split_run_files.h"
#include "tests/support/research_pages.h"

namespace {

constexpr const char* kReportPath = "/report/sector33/brand_report/";

class ResearchCollector : public collect_test::SplitRunFiles {
protected:
    ResearchCollector()
        : SplitRunFiles(7, 1, 71, 1), server_([this](httplib::Server& s) {
              s.Get(R"(/report/sector33/brand_report/(\w+)\.html)",
                    [this](const httplib::Request& request, httplib::Response& response) {
                        const std::string code = request.matches[1];
                        if (code == kRedirected) {
                            response.set_redirect("/report/");
                            return;
                        }
                        const auto page = pages_.find(code);
                        if (page == pages_.end()) {
                            response.status = 404;
                            return;
                        }
                        response.set_content(page->second, "text/html; charset=UTF-8");
                    });
          }) {
        common::SetWaitScaleForTests(0.01f);
        common::WriteSetting("MirControl\\HpGet\\SiteReport", server_.HostPort());
        common::SetProcessContext(7, 1);
        WriteTasks({"0"});
    }
    ~ResearchCollector() override { common::SetWaitScaleForTests(1.0f); }

    std::vector<std::string> Lines(const std::string& path) {
        std::vector<std::string> lines;
        common::CFFIL21M(path, lines);
        return lines;
    }
    marketdata::CdmTbl Listed() {
        const std::vector<std::string> lines = Lines(marketdata::PartWorkFilePath(env, process, 1));
        marketdata::CdmTbl stocks(lines.size());
        std::string problem;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(marketdata::LineToCdmRec(lines[i], stocks[i], problem)) << problem;
        }
        return stocks;
    }
    std::string EndReport() {
        common::TSDRec report;
        return common::CFTSD10M(114, "", process, 1, "S", env, report) ? report.TaskStatus : "";
    }
    void Collect() {
        common::MSGRec msg;
        EXPECT_TRUE(collect::AMLTX30M(7, "", env, msg, task));
    }

    static constexpr const char* kRedirected = "1333";
    std::map<std::string, std::string> pages_;  // code, page; other codes answer 404
    testsupport::PageServer server_;
};

// Stocks with a report, one the site redirects (no report page), one of the
// foreign section and one whose page cannot be fetched. Those without a
// report keep their research stamp but lose their industry name.
TEST_F(ResearchCollector, WritesEachReportAndListsEveryStock) {
    const std::vector<std::string> codes = {"1301", kRedirected, "7203", "8001", "9999"};
    pages_ = {{"1301", testsupport::ResearchReportPage("1301", "銘柄1301")},
              {"7203", testsupport::ResearchReportPage("7203", "銘柄7203")},
              {"8001", testsupport::NoResearchReportPage()}};
    marketdata::CdmTbl list;
    for (const std::string& code : codes) {
        marketdata::CdmRec stock = Company(code);
        marketdata::ResearchMark(stock) = {"1", "2007/01/05", "10:00:00"};
        marketdata::ResearchIndustryName(stock) = "旧業種";
        list.push_back(stock);
    }
    WriteList(process, 1, "", list);

    Collect();

    const std::vector<std::string> lines = Lines(DataPath(marketdata::kMultexFileNumber, process, 1, ".tmp"));
    ASSERT_EQ(lines.size(), 2u);
    const marketdata::CdmTbl listed = Listed();
    ASSERT_EQ(listed.size(), codes.size());
    std::size_t report = 0;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        SCOPED_TRACE(codes[i]);
        marketdata::CdmRec stock = listed[i];
        EXPECT_EQ(platform::TrimBlanks(stock.Key.CorpCode), codes[i]);
        EXPECT_EQ(stock.Key.Flag1, "0");
        const bool read = pages_.count(codes[i]) == 1 && codes[i] != "8001";
        EXPECT_EQ(stock.Key.Flag2, read ? "1" : "9");
        EXPECT_EQ(stock.Attr2, read ? "1" : "9");
        if (!read) {
            EXPECT_EQ(marketdata::ResearchMark(stock).MarkDate, "2007/01/05");
            EXPECT_EQ(marketdata::ResearchIndustryName(stock), "");
            continue;
        }
        marketdata::MultexRec rec;
        ASSERT_TRUE(marketdata::ParseMultexLine(lines[report++], rec));
        marketdata::MultexRec expected = testsupport::ExpectedResearchRecord(codes[i], "銘柄" + codes[i]);
        expected.Key = rec.Key;
        std::string got;
        std::string want;
        marketdata::MultexRecToLine(rec, got);
        marketdata::MultexRecToLine(expected, want);
        EXPECT_EQ(got, want);
        EXPECT_EQ(rec.Key.CorpCode, stock.Key.CorpCode);
        EXPECT_EQ(marketdata::ResearchMark(stock).MarkFlag, "1");
        EXPECT_EQ(marketdata::ResearchMark(stock).MarkDate, rec.Key.UpdateDate);
        EXPECT_EQ(marketdata::ResearchMark(stock).MarkTime, rec.Key.UpdateTime);
        EXPECT_EQ(marketdata::ResearchIndustryName(stock), testsupport::ResearchIndustryOf(codes[i]));
    }
    const std::string log = ReadLog(common::State().runLogPath);
    for (const char* line :
         {"90:Worning,00,ロイター業種無し(1) 1333:銘柄1333", "90:Worning,00,ロイター業種無し(1) 8001:銘柄8001",
          "90:Worning,00,ロイター業種無し(2) 9999:銘柄9999"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }
    // The redirect is the site's answer, not a failure: it is asked once.
    EXPECT_EQ(server_.Hits(std::string(kReportPath) + kRedirected + ".html"), 1);
    EXPECT_EQ(server_.Hits(std::string(kReportPath) + "9999.html"), 10);
    EXPECT_EQ(EndReport(), "Z");
}

TEST_F(ResearchCollector, APartWithoutStocksIsAnApplicationError) {
    Collect();
    EXPECT_NE(
        ReadLog(common::State().errorLogPath).find("AMLTX30M,E0:ErrApl ,02,AMLTX30M(2)：企業一覧が存在しません。"),
        std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(DataPath(marketdata::kMultexFileNumber, process, 1, ".tmp")));
}

}  // namespace
