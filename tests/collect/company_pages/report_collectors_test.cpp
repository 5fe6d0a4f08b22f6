// The market-report collectors of the three markets in process, on a part of
// companies served by a loopback site.
#include "collect/company_pages/report_collectors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "common/settings/settings.h"
#include "common/tasks/task_files.h"
#include "common/tasks/waits.h"
#include "common/files/text_file_read.h"
#include "marketdata/market_report.h"
#include "marketdata/price_series.h"
#include "marketdata/split_run_frame.h"
#include "platform/utf8_text.h"
#include "tests/collect/page_server.h"
#include "tests/collect/split_run_files.h"
#include "tests/support/quote_pages.h"

namespace {

constexpr long kProcessIndex = 6;

struct Market {
    long country;
    const char* code;  // Key market
    const char* site;
    bool (*collector)(long, const std::string&, common::EnvRec&, common::MSGRec&, common::TSDRec&);
};

class ReportCollectors : public collect_test::SplitRunFiles {
protected:
    explicit ReportCollectors(const Market& market)
        : SplitRunFiles(kProcessIndex, market.country, kProcessIndex * 10 + market.country, 1), market_(market) {
        common::WriteSetting(std::string("MirControl\\HpGet\\Site") + market.site, server.HostPort());
        common::SetProcessContext(kProcessIndex, market.country);
        common::SetWaitScaleForTests(0.01f);
        WriteTasks({"0"});
    }
    ~ReportCollectors() override { common::SetWaitScaleForTests(1.0f); }

    void Serve(httplib::Server& s) {
        s.Get("/q", [this](const httplib::Request& request, httplib::Response& response) {
            const std::string code = request.get_param_value("s");
            if (code == missing) {
                response.status = 404;
                return;
            }
            if (++served == cancelAt) common::WriteSetting("MirControl\\Common\\Cancel", "1");
            if (const auto page = pages.find(code); page != pages.end()) {
                response.set_content(page->second, "text/html; charset=utf-8");
                return;
            }
            response.set_content(market_.country == 1 ? testsupport::JapanQuotePage(code, "銘柄" + code)
                                                      : testsupport::UsQuotePage(code, "Name" + code),
                                 "text/html; charset=utf-8");
        });
        s.Get("/data/code.cgi", [this](const httplib::Request& request, httplib::Response& response) {
            const std::string code = request.get_param_value("code");
            if (code == missing) {
                response.status = 404;
                return;
            }
            const auto page = pages.find(code);
            response.set_content(page != pages.end() ? page->second : testsupport::ChinaQuotePage(code, "名称" + code),
                                 "text/html; charset=utf-8");
        });
        s.Get("/data/zaimu.cgi", [](const httplib::Request& request, httplib::Response& response) {
            response.set_content(testsupport::ChinaFinancialsPage(request.get_param_value("code")),
                                 "text/html; charset=utf-8");
        });
    }

    void WritePart(const std::vector<std::string>& codes) {
        marketdata::CdmTbl companies;
        for (const std::string& code : codes) {
            marketdata::CdmRec rec = Company(code);
            rec.Key.Market = market_.code;
            rec.InfoText[181 - 133] = "登録市場";
            companies.push_back(rec);
        }
        WriteList(process, 1, "", companies);
    }

    void Collect() {
        common::MSGRec msg;
        EXPECT_TRUE(market_.collector(kProcessIndex, "", env, msg, task));
    }

    std::vector<marketdata::RpiRec> Reports() {
        std::vector<std::string> lines;
        common::CFFIL21M(DataPath(common::State().context.resultFileNumber, process, 1, ".tmp"), lines);
        std::vector<marketdata::RpiRec> reports(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(marketdata::LineToRpiRec(lines[i], reports[i]));
        return reports;
    }

    std::vector<marketdata::CdmRec> Done() {
        std::vector<std::string> lines;
        common::CFFIL21M(marketdata::PartWorkFilePath(env, process, 1), lines);
        std::vector<marketdata::CdmRec> recs(lines.size());
        std::string problem;
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(marketdata::LineToCdmRec(lines[i], recs[i], problem));
        return recs;
    }

    // The part's companies come in code order; these pick one by its code.
    template <class Rec>
    static const Rec& ByCode(const std::vector<Rec>& recs, const std::string& code) {
        for (const Rec& rec : recs) {
            if (platform::TrimBlanks(rec.Key.CorpCode) == code) return rec;
        }
        ADD_FAILURE() << code;
        return recs.front();
    }

    // A quote that added its row to the series leaves the market values
    // marked as taken from the report (positions 60-62), not by the series.
    static void ExpectValuesOfTheReport(const marketdata::CdmRec& rec, const marketdata::RpiRec& report) {
        EXPECT_EQ(rec.ProcMark[1].MarkFlag, "1");
        EXPECT_EQ(rec.RptText[1], "1");
        EXPECT_EQ(rec.RptText[2], report.Key.UpdateDate);
        EXPECT_EQ(rec.RptText[3], report.Key.UpdateTime);
    }

    std::string EndReport() {
        common::TSDRec report;
        return common::CFTSD10M(114, "", process, 1, "S", env, report) ? report.TaskStatus : "";
    }

    Market market_;
    std::string missing;
    std::map<std::string, std::string> pages;  // quote pages by code, in place of the generated ones
    int cancelAt = 0;
    std::atomic<int> served = 0;
    testsupport::PageServer server{[this](httplib::Server& s) { Serve(s); }};
};

class JapanReports : public ReportCollectors {
protected:
    JapanReports() : ReportCollectors({1, "JPN", "Portal", collect::ARPJP30M}) {}
};
class ChinaReports : public ReportCollectors {
protected:
    ChinaReports() : ReportCollectors({2, "CHN", "ChinaStock", collect::ARPCH30M}) {}
};
class UsReports : public ReportCollectors {
protected:
    UsReports() : ReportCollectors({3, "USA", "UsPortal", collect::ARPUS30M}) {}
};

TEST_F(JapanReports, ReportsEveryCompanyAndAddsTheDaysQuote) {
    common::WriteSetting("MirControl\\HpGet\\HpRepToHp", "1");
    missing = "6758";
    WritePart({"7203", "6758", "8309"});
    Collect();

    const std::vector<marketdata::RpiRec> reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    const testsupport::QuoteFigures figures = testsupport::QuoteFiguresOf("7203");
    const marketdata::RpiRec& toyota = ByCode(reports, "7203");
    EXPECT_EQ(toyota.Text[10], figures.price);
    EXPECT_EQ(toyota.Text[6], "JPY");
    EXPECT_EQ(toyota.Text[7], "1");
    EXPECT_EQ(toyota.Text[23], figures.price);
    EXPECT_EQ(toyota.Text[1], "");
    const std::vector<marketdata::CdmRec> done = Done();
    ASSERT_EQ(done.size(), 3u);
    const marketdata::CdmRec& read = ByCode(done, "7203");
    const marketdata::CdmRec& notFound = ByCode(done, "6758");
    EXPECT_EQ(read.Key.Flag2, "1");
    EXPECT_EQ(notFound.Key.Flag2, "9");
    EXPECT_EQ(notFound.Attr2, "9");
    EXPECT_EQ(read.InfoText[181 - 133], "東証1部");
    EXPECT_EQ(read.ProcMark[6].MarkFlag, "1");
    EXPECT_EQ(read.RptText[9], figures.price);
    EXPECT_EQ(read.InfoText[22], figures.price);
    EXPECT_EQ(read.Term[1].LastDate, platform::DateText(platform::Now().date));
    ExpectValuesOfTheReport(read, toyota);
    EXPECT_EQ(notFound.RptText[1], "");
    // "8309" shows no trade ("--- ---"): reported, but no row for its series.
    EXPECT_EQ(ByCode(reports, "8309").Text[10], "0");
    EXPECT_EQ(ByCode(done, "8309").Key.Flag2, "1");
    EXPECT_EQ(ByCode(done, "8309").Term[1].LastDate, "");
    EXPECT_EQ(EndReport(), "Z");
}

TEST_F(JapanReports, ACancelAtTheTenthCompanyLeavesTheRestUnfetched) {
    std::vector<std::string> codes;
    for (int i = 1; i <= 12; ++i) codes.push_back(std::to_string(1300 + i));
    WritePart(codes);
    cancelAt = 10;
    Collect();
    EXPECT_EQ(served.load(), 10);
    EXPECT_EQ(Done().size(), 10u);
    EXPECT_EQ(Reports().size(), 10u);
    EXPECT_EQ(EndReport(), "S");
}

// A quote page may show a number no amount can hold: it is logged and
// stored as "0", and the part goes on with its next company.
TEST_F(JapanReports, AnAmountBeyondRangeIsStoredAsZero) {
    common::WriteSetting("MirControl\\HpGet\\HpRepToHp", "1");
    pages["1301"] = "<table><tr><td>現在の日時 15:00 日本水産(株) 【東証1部：1301】</td></tr>"
                    "<tr><td>取引値</td><td>出来高</td></tr>"
                    "<tr><td>12/30 1,000,000,000,000,000</td><td>1,000</td></tr></table>";
    WritePart({"1301", "7203"});
    Collect();

    const std::vector<marketdata::RpiRec> reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(ByCode(reports, "1301").Text[10], "0");
    EXPECT_EQ(ByCode(Done(), "1301").Term[1].LastDate, "");  // no price, no row for the series
    EXPECT_EQ(ByCode(reports, "7203").Text[10], testsupport::QuoteFiguresOf("7203").price);
    EXPECT_NE(ReadLog(common::State().errorLogPath).find("1000000000000000"), std::string::npos);
    EXPECT_EQ(EndReport(), "Z");
}

TEST_F(ChinaReports, AYenRateBeyondRangeIsStoredAsZero) {
    pages["00700"] = "<table><tr><td>> 中国株・企業情報</td></tr><tr><td>株価速報 騰訊控股 00700</td></tr>"
                     "<tr><td>円換算用のレート：1000000000000000</td></tr>"
                     "<tr><td>現在値</td><td>380.40</td></tr></table>";
    WritePart({"00700", "600000"});
    Collect();

    const std::vector<marketdata::RpiRec> reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(ByCode(reports, "00700").Text[7], "0");
    EXPECT_EQ(ByCode(reports, "00700").Text[23], "0");
    EXPECT_EQ(ByCode(reports, "600000").Text[7], "19.5");
    EXPECT_EQ(EndReport(), "Z");
}

TEST_F(ChinaReports, KeepsTheStoredMarketAndReadsTheFinancials) {
    common::WriteSetting("MirControl\\HpGet\\HpRepToHp", "1");
    missing = "00005";
    WritePart({"^00700", "00005", "600000"});
    Collect();

    // The quote page is asked without "^", the financials page with it.
    EXPECT_EQ(server.Hits("/data/zaimu.cgi"), 2);
    const std::vector<marketdata::RpiRec> reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    const marketdata::RpiRec& tencent = ByCode(reports, "^00700");
    EXPECT_EQ(tencent.Text[2], "名称00700");
    EXPECT_EQ(tencent.Text[70], "202312");
    const std::vector<marketdata::CdmRec> done = Done();
    ASSERT_EQ(done.size(), 3u);
    const marketdata::CdmRec& read = ByCode(done, "^00700");
    EXPECT_EQ(read.InfoText[181 - 133], "登録市場");
    EXPECT_EQ(read.RptText[10], "12500000");
    EXPECT_EQ(read.RptText[7], "19.5");
    EXPECT_EQ(read.InfoText[18], "1200000000");
    EXPECT_EQ(read.InfoText[10], "60.000");
    ExpectValuesOfTheReport(read, tencent);
    EXPECT_EQ(ByCode(done, "00005").Key.Flag2, "9");
    EXPECT_EQ(EndReport(), "Z");
}

TEST_F(UsReports, ReportsInDollarsAndTheirYenValue) {
    common::WriteSetting("MirControl\\HpGet\\HpRepToHp", "1");
    common::WriteSetting("MirControl\\ComExcg\\ExcgUSD", "150");
    missing = "MSFT";
    WritePart({"AAPL", "MSFT", "IBM"});
    Collect();

    const std::vector<marketdata::RpiRec> reports = Reports();
    ASSERT_EQ(reports.size(), 2u);
    const testsupport::QuoteFigures figures = testsupport::QuoteFiguresOf("AAPL");
    const marketdata::RpiRec& apple = ByCode(reports, "AAPL");
    EXPECT_EQ(apple.Text[6], "USD");
    EXPECT_EQ(apple.Text[7], "150");
    EXPECT_EQ(apple.Text[23], std::to_string(std::stol(figures.price) * 150 + 75));
    const std::vector<marketdata::CdmRec> done = Done();
    ASSERT_EQ(done.size(), 3u);
    const marketdata::CdmRec& read = ByCode(done, "AAPL");
    EXPECT_EQ(read.InfoText[181 - 133], "NasdaqGS");
    EXPECT_EQ(read.InfoText[18], "1200000000");
    EXPECT_EQ(read.InfoText[37], "180000.00");
    ExpectValuesOfTheReport(read, apple);
    EXPECT_EQ(ByCode(done, "MSFT").Key.Flag2, "9");
    EXPECT_EQ(EndReport(), "Z");
}

}  // namespace
