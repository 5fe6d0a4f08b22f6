// The company-list steps of the collection chain from an empty data folder,
// with the real Mirelda as the child copies and a loopback list site: the
// country lists, the industry list and a code master of every listed company;
// a second run keeps what other runs collected; a killed child and a cancel
// with its resume give the files of an unbroken run.
#include <gtest/gtest.h>

#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/files/data_file.h"
#include "marketdata/code_master.h"
#include "marketdata/industry_list.h"
#include "platform/utf8_text.h"
#include "tests/apps/child_killer.h"
#include "tests/apps/mirelda_installation.h"
#include "tests/support/list_site.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr long kJapan = 41;
constexpr long kUsa = 43;
constexpr long kChina = 42;

// Industries of the three markets on the list site, their rows in the
// industry sources, and the chain's three company-list steps requested.
class ListInstallation : public mirelda_e2e::MireldaInstallation {
public:
    ListInstallation() : MireldaInstallation(3) {
        site.UseBrandSetting();
        site.AddIndustry("JPN", "5001", "水産・農林業", 45);
        site.AddIndustry("JPN", "5002", "鉱業", 20);
        site.AddIndustry("JPN", "5003", "建設業", 7);
        site.AddIndustry("JPN", "5004", "食料品", 23);
        site.AddIndustry("USA", "6001", "Banks", 6);
        site.AddIndustry("USA", "6002", "Software", 4);
        site.AddIndustry("CHN", "7001", "銀行", 5);
        site.AddIndustry("CHN", "7002", "不動産", 3);
        WriteSource(marketdata::kJapanIndustryFileNumber, "", "JPN");
        WriteSource(marketdata::kUsaIndustryFileNumber, "", "USA");
        WriteSource(marketdata::kChinaIndustryFileNumber, "Market", "CHN");
        Request({6, 7, 8});
    }

    // The lists, the industry files and the code master with the stamps of
    // their writing (the key's update date and time) blanked, and the site's
    // address, which differs from installation to installation, as "HOST".
    std::map<std::string, std::string> ListFiles() const {
        std::map<std::string, std::string> files =
            Files({"/CdmTrial", "/Ind", "/企業一覧", "/Nm"}, {"/CdmTrial", "/Ind", "/企業一覧"}, {15, 16});
        const std::string host = site.HostPort();
        for (auto& [name, bytes] : files) {
            for (std::size_t at = bytes.find(host); at != std::string::npos; at = bytes.find(host, at)) {
                bytes.replace(at, host.size(), "HOST");
            }
        }
        return files;
    }

    marketdata::CdmTbl Master() {
        marketdata::CdmTbl master;
        marketdata::CFCDM10M(marketdata::kCodeMasterFileNumber, 0, 0, "", "", "", "", env, {}, master);
        return master;
    }

    // Market and code of every stock of the code master.
    std::set<std::pair<std::string, std::string>> MasterStocks() {
        std::set<std::pair<std::string, std::string>> stocks;
        for (const marketdata::CdmRec& rec : Master()) {
            if (platform::TrimBlanks(rec.Key.Category) == "1000") {
                stocks.insert({platform::TrimBlanks(rec.Key.Market), platform::TrimBlanks(rec.Key.CorpCode)});
            }
        }
        return stocks;
    }
    std::set<std::pair<std::string, std::string>> ListedStocks() const {
        std::set<std::pair<std::string, std::string>> stocks;
        for (const testsupport::ListedCompany& company : site.Listed()) stocks.insert({company.country, company.code});
        return stocks;
    }

    void ExpectCompleteRuns() {
        for (const long process : {kJapan, kUsa, kChina}) EXPECT_EQ(CtrStatus(process), "Z/00") << process;
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), std::string(50, '0'));
        EXPECT_EQ(ErrorLog().find("E0:ErrApl"), std::string::npos) << ErrorLog();
        EXPECT_EQ(MasterStocks(), ListedStocks());
    }

    testsupport::ListSite site;

private:
    void WriteSource(long fileNumber, const std::string& namePart, const std::string& country) {
        std::vector<marketdata::IndustryRec> rows = site.IndustryRows(country);
        marketdata::BuildIndustryLines(fileNumber, 0, 0, namePart, "", env, rows);
    }
};


TEST(CompanyListEndToEnd, FromNothingToACodeMasterAndAgain) {
    ListInstallation run;
    run.Run();
    EXPECT_TRUE(run.ui.presenter->boxes.empty());
    run.ExpectCompleteRuns();
    EXPECT_TRUE(fs::exists(common::BuildDataFilePath(marketdata::kIndustryListFileNumber, 0, 0, "", "", run.env)));

    // What another run collected for a stock stays; a company new on a page enters.
    marketdata::CdmTbl master = run.Master();
    master[5].Term[1] = {"2020/01/06", "2026/12/04"};
    const std::string collected = platform::TrimBlanks(master[5].Key.CorpCode);
    marketdata::WriteCodeMaster(marketdata::kCodeMasterFileNumber, 0, 0, "", "", static_cast<long>(master.size()),
                                run.env, master);
    const testsupport::ListedCompany added = run.site.AddCompany("JPN", "5003");
    run.Request({6, 7, 8});
    run.Run();
    run.ExpectCompleteRuns();
    EXPECT_TRUE(run.MasterStocks().contains({"JPN", added.code}));
    for (const marketdata::CdmRec& rec : run.Master()) {
        if (platform::TrimBlanks(rec.Key.CorpCode) == collected) {
            EXPECT_EQ(rec.Term[1].FirstDate, "2020/01/06");
        }
    }
}

TEST(CompanyListEndToEnd, InterruptedRunsGiveTheFilesOfAnUninterruptedOne) {
    std::map<std::string, std::string> reference;
    {
        ListInstallation run;
        run.Run();
        run.ExpectCompleteRuns();
        reference = run.ListFiles();
    }
    {
        ListInstallation run;
        {
            // The child of the industry 5001, once the site has served two of its pages.
            const e2e::ChildKiller killer([&run] { return run.site.Requests("JPN", "5001") >= 2; },
                                          [&run](const std::string& sequence) {
                                              const std::string list = common::BuildDataFilePath(
                                                  marketdata::kJapanIndustryFileNumber, kJapan, std::stol(sequence),
                                                  "", "", run.env);
                                              return fs::exists(list) &&
                                                     testsupport::ReadBytes(list).find("5001") != std::string::npos;
                                          });
            run.Run();
            ASSERT_TRUE(killer.killed());
        }
        EXPECT_NE(run.ErrorLog().find("子プロセスが報告なしで終了しました"), std::string::npos);
        run.ExpectCompleteRuns();
        EXPECT_EQ(mirelda_e2e::FileDifferences(run.ListFiles(), reference), std::vector<std::string>{});
    }
    {
        ListInstallation run;
        run.InstallCancelAfter([&run] { return run.site.Requests("JPN", "5001") >= 2; });
        run.Run();
        ASSERT_EQ(run.ui.presenter->boxes.size(), 1u);
        EXPECT_EQ(run.ui.presenter->boxes[0].text, "企業一覧（国内）の収集を中断します。　");
        EXPECT_EQ(run.CtrStatus(kJapan), "B/02");

        EXPECT_TRUE(run.ResumeAfterCancel());
        run.ExpectCompleteRuns();
        EXPECT_EQ(mirelda_e2e::FileDifferences(run.ListFiles(), reference), std::vector<std::string>{});
    }
}

}  // namespace
