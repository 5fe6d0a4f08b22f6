// Whole price-history runs with the real Mirelda as the child copies and a
// loopback price site: the parent runs in this process, so that a test can
// cancel it or kill one of its children in the middle of a stock.
#include <gtest/gtest.h>

#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "common/files/data_file.h"
#include "common/startup/batch_chain.h"
#include "marketdata/code_master.h"
#include "platform/utf8_text.h"
#include "tests/apps/child_killer.h"
#include "tests/apps/price_installation.h"

namespace {

using namespace std::chrono_literals;
using price_e2e::PriceInstallation;
namespace fs = std::filesystem;

constexpr long kStocks = 30;
constexpr platform::Date kFirst{2025, 3, 3};  // about 460 daily rows: ten pages a stock



// A Japanese market of kStocks stocks; stock 3 pays a dividend and stock 5
// had a split in its past.
class JapaneseMarket : public PriceInstallation {
public:
    JapaneseMarket() : PriceInstallation(price_e2e::JapaneseStocks(kStocks), kFirst, 3) {
        site.AddDividend("JPN", price_e2e::StockCode(3), platform::AddDays(price_e2e::kToDate, -40), "12.5");
        site.AddSplit("JPN", price_e2e::StockCode(5), platform::AddDays(price_e2e::kToDate, -200), 1, 2);
    }
};

// The run's files: the series equal the model, the run is complete and no
// part or task file, nor a task's work folder, is left.
std::map<std::string, std::string> ExpectCompleteRun(PriceInstallation& run) {
    EXPECT_EQ(run.CtrStatus(), "Z/00");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), common::EncodeBatchRequest({}));
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "");
    EXPECT_EQ(run.site.Violations(), std::vector<std::string>{});
    EXPECT_EQ(run.ErrorLog().find("E0:ErrApl"), std::string::npos) << run.ErrorLog();
    std::map<std::string, std::string> files = run.DataFiles();
    for (const auto& [name, bytes] : files) {
        EXPECT_EQ(name.find("011"), std::string::npos) << "left behind: " << name;
    }
    for (const auto& entry : fs::directory_iterator(run.env.folder(common::Folder::Temp))) {
        EXPECT_NE(entry.path().filename().string().rfind("Htm011", 0), 0u) << "left behind: " << entry.path();
    }
    return files;
}

void ExpectSameFiles(const std::map<std::string, std::string>& files,
                     const std::map<std::string, std::string>& reference) {
    EXPECT_EQ(mirelda_e2e::FileDifferences(files, reference), std::vector<std::string>{});
}

TEST(PriceHistoryEndToEnd, InterruptedRunsGiveTheFilesOfAnUninterruptedOne) {
    std::map<std::string, std::string> reference;
    {
        JapaneseMarket run;
        run.Run();
        EXPECT_TRUE(run.ui.presenter->boxes.empty());
        reference = ExpectCompleteRun(run);
        // Every stock's series, and the split file of the two with events.
        long series = 0;
        for (const auto& [name, bytes] : reference) series += name.find("-JPN-D-1000-") != std::string::npos;
        EXPECT_EQ(series, kStocks + 2);
    }
    for (const int pages : {2, 10}) {
        SCOPED_TRACE(pages);
        JapaneseMarket run;
        {
            // The child of stock 17, once the site has served `pages` of its
            // pages: in the middle of the stock, or about when the child
            // writes its last page's rows.
            const std::string code = price_e2e::StockCode(17);
            const e2e::ChildKiller killer([&] { return run.site.Requests("JPN", code) >= pages; },
                                          [&](const std::string& sequence) {
                                              const std::string list = common::BuildDataFilePath(
                                                  1, price_e2e::kProcess, std::stol(sequence), "", "", run.env);
                                              return fs::exists(list) &&
                                                     testsupport::ReadBytes(list).find("\t" + code + " ") !=
                                                         std::string::npos;
                                          });
            run.Run();
            ASSERT_TRUE(killer.killed());
        }
        EXPECT_NE(run.ErrorLog().find("子プロセスが報告なしで終了しました"), std::string::npos);
        ExpectSameFiles(ExpectCompleteRun(run), reference);
    }
    {
        JapaneseMarket run;
        // Once the site has served 60 pages: the children are in the middle of their parts.
        run.InstallCancelAfter([&run] { return run.site.Requests("/t") >= 60; });
        run.Run();
        ASSERT_EQ(run.ui.presenter->boxes.size(), 1u);
        EXPECT_EQ(run.ui.presenter->boxes[0].text, "株価時系列データ（国内）の収集を中断します。　");
        EXPECT_EQ(run.CtrStatus(), "B/02");

        EXPECT_TRUE(run.ResumeAfterCancel());
        ExpectSameFiles(ExpectCompleteRun(run), reference);
    }
}

// Six Japanese stocks of two pages each, then two US stocks, collected by one chain.
class JapanThenUs : public PriceInstallation {
public:
    JapanThenUs() : PriceInstallation(Stocks(), {2026, 8, 3}, 2) {}

private:
    static std::vector<price_e2e::Stock> Stocks() {
        std::vector<price_e2e::Stock> stocks = price_e2e::JapaneseStocks(6);
        stocks.push_back({"USA", "IBM", ""});
        stocks.push_back({"USA", "KO", ""});
        return stocks;
    }
};

// A cancel at any step of the Japanese run ends the run at once (the chain
// stops before the US market); the resume collects what is left, each page
// asked for once (a market that came to its end is not collected again), and
// gives the files of an unbroken run.
TEST(PriceHistoryEndToEnd, CancelAtEveryStepEndsTheRunAndTheResumeFinishesIt) {
    std::map<std::string, std::string> reference;
    int japanPages = 0;
    int usPages = 0;
    {
        JapanThenUs run;
        run.Run();
        reference = ExpectCompleteRun(run);
        japanPages = run.site.Requests("/t");
        usPages = run.site.Requests("/q/hp");
        const std::string log = run.RunLog();
        EXPECT_NE(log.find("AHPJP00M_Step02 Start Step01 : 株価時系列データ（国内）"), std::string::npos) << log;
        EXPECT_NE(log.find("AHPJP00M_Step02 Start Step02 : 株価時系列データ（国内）"), std::string::npos) << log;
    }
    struct Moment {
        const char* step;     // the Japanese run's step the cancel comes in
        const char* stopsAt;  // its control record when the chain has stopped
    };
    // In step 02 before any child starts, when the parent used to forget the cancel.
    const Moment moments[] = {{"B/01", "B/02"}, {"B/02", "B/02"}, {"B/03", "Z/00"}, {"B/04", "Z/00"}};
    for (const Moment& moment : moments) {
        SCOPED_TRACE(moment.step);
        JapanThenUs run;
        run.InstallCancelAfter([&run, &moment] { return run.CtrStatus() == moment.step; });
        run.Run();
        ASSERT_TRUE(run.cancelled);
        EXPECT_EQ(run.CtrStatus(), moment.stopsAt);
        EXPECT_EQ(run.site.Requests("/q/hp"), 0);

        EXPECT_TRUE(run.ResumeAfterCancel());
        ExpectSameFiles(ExpectCompleteRun(run), reference);
        EXPECT_EQ(run.site.Requests("/t"), japanPages);
        EXPECT_EQ(run.site.Requests("/q/hp"), usPages);
    }
}

}  // namespace

namespace {

// One batch collects the US and the Chinese market, each by its own run; the
// Chinese stocks' exchanges are found and kept in the code master.
TEST(PriceHistoryEndToEnd, ChainCollectsTheUsAndChineseMarkets) {
    const std::vector<price_e2e::Stock> stocks = {
        {"USA", "IBM", ""},        {"USA", "KO", ""},         {"USA", "XOM", ""},
        {"CHN", "0700", ".hk"},    {"CHN", "600000", ".ss"},  {"CHN", "000001", ".sz"},
    };
    const platform::Date first{2026, 1, 5};
    PriceInstallation run(stocks, first, 2);
    run.Run();

    EXPECT_TRUE(run.ui.presenter->boxes.empty());
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), common::EncodeBatchRequest({}));
    EXPECT_EQ(run.site.Violations(), std::vector<std::string>{});
    const std::map<std::string, std::string> files = run.DataFiles();
    for (const price_e2e::Stock& stock : stocks) {
        SCOPED_TRACE(stock.code);
        const auto series = files.find("Apps/HpData/Chart/Chart-" + stock.country + "-D-1000-" + stock.code + ".txt");
        ASSERT_NE(series, files.end());
        EXPECT_EQ(std::count(series->second.begin(), series->second.end(), '\n'),
                  static_cast<long>(run.site.ExpectedRows(stock.country, stock.code, 'D', first, price_e2e::kToDate).size()));
    }
    marketdata::CdmTbl master;
    ASSERT_TRUE(marketdata::CFCDM10M(marketdata::kCodeMasterFileNumber, 0, 0, "", "CHN", "", "", run.env, {}, master));
    std::map<std::string, std::string> suffixes;
    for (marketdata::CdmRec& rec : master) {
        suffixes[platform::TrimBlanks(rec.Key.CorpCode)] = marketdata::StoredMarketSuffix(rec);
    }
    EXPECT_EQ(suffixes, (std::map<std::string, std::string>{{"0700", ".hk"}, {"600000", ".ss"}, {"000001", ".sz"}}));
}

}  // namespace
