// The whole collection chain with the real Mirelda as the child copies
// against loopback sites: every cell, from an empty data folder to the
// company lists, profiles, reports, the research provider's data, the price
// series, the exchange rates and the industry series; and the exchange-rate,
// research-provider and industry-series cells on a code master of 30
// companies, where a killed child and a cancel with its resume give the files
// of an unbroken run.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <tuple>
#include <utility>
#include <string>
#include <vector>

#include "common/files/data_file.h"
#include "marketdata/code_master.h"
#include "marketdata/industry_list.h"
#include "marketdata/multex_record.h"
#include "marketdata/research_fields.h"
#include "platform/utf8_text.h"
#include "tests/apps/child_killer.h"
#include "tests/apps/mirelda_installation.h"
#include "tests/support/company_site.h"
#include "tests/support/list_site.h"
#include "tests/support/price_site.h"
#include "tests/support/rates_site.h"
#include "tests/support/research_pages.h"

namespace {

namespace fs = std::filesystem;

constexpr platform::Date kFirstDate{2026, 10, 1};
constexpr platform::Date kToDate{2026, 12, 4};
// The currencies of the rate histories, with the names of their files.
constexpr std::pair<const char*, const char*> kCurrencies[] = {
    {"JPY", "日本円"}, {"CNY", "人民元"}, {"USD", "米ドル"}, {"HKD", "香港ドル"},
    {"TWD", "台湾ドル"}, {"GBP", "英ポンド"}, {"XEU", "欧州通貨"}};
constexpr long kRates = 111;     // exchange-rate histories
constexpr long kResearch = 71;   // research provider

std::string Setting(const std::string& key) { return common::ReadSetting("MirControl\\" + key); }

// The loopback sites of every page the chain fetches, and the settings that
// point the collectors at them. The company site answers for the hosts it
// shares with the other two and passes their pages on.
class ChainSites {
public:
    ChainSites()
        : companies({{"/exchange/", rates.HostPort()}, {"/q/hp", prices.HostPort()}}) {
        lists.UseBrandSetting();
        prices.UseAsPriceSites();
        rates.UseAsRateSites();
        companies.UseAsCompanySites();
        for (const auto& [currency, name] : kCurrencies) rates.SetHistory(currency, {2026, 11, 2}, kToDate);
    }

    // Every company of the list site on the company and price sites.
    void ServeListedCompanies() {
        for (const testsupport::ListedCompany& company : lists.Listed()) {
            companies.AddCompany({company.country, company.code, company.name});
            prices.AddStock(company.country, company.code, kFirstDate, kToDate,
                            company.country == "CHN" ? ".hk" : "");
        }
    }

    testsupport::ListSite lists;
    testsupport::PriceSite prices;
    testsupport::RatesSite rates;
    testsupport::CompanySite companies;
};

class ChainInstallation : public mirelda_e2e::MireldaInstallation {
public:
    ChainInstallation() : MireldaInstallation(3) { CollectDailyPricesUpTo(kToDate); }

    marketdata::CdmTbl Master(const std::string& category = "") {
        marketdata::CdmTbl master;
        marketdata::CFCDM10M(marketdata::kCodeMasterFileNumber, 0, 0, "", "", "", "", env, {}, master);
        if (!category.empty()) {
            std::erase_if(master, [&](const marketdata::CdmRec& rec) {
                return platform::TrimBlanks(rec.Key.Category) != category;
            });
        }
        return master;
    }

    std::string DataFile(long fileNumber, const std::string& namePart = "") {
        const std::string path = common::BuildDataFilePath(fileNumber, 0, 0, namePart, "", env);
        return fs::exists(path) ? platform::FromCp932(testsupport::ReadBytes(path)).text : "";
    }

    // The daily series of a code-master entry.
    bool HasSeries(const marketdata::CdmRec& rec) {
        return fs::exists(common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0,
                                                    marketdata::PriceFileNamePart(rec.Key, "D"), "", env));
    }

    void ExpectCleanEnd() {
        EXPECT_EQ(Setting("Common\\Batch"), std::string(50, '0'));
        EXPECT_EQ(Setting("Common\\Exec"), "");
        EXPECT_EQ(ErrorLog().find("E0:ErrApl"), std::string::npos) << ErrorLog();
    }
};

// The research provider's data, the exchange rates and the industry series
// as the checks below expect them of every run.
void ExpectRatesResearchAndIndustries(ChainInstallation& run, const testsupport::RatesSite& rates) {
    const std::vector<std::string>& current = testsupport::RatesSite::DefaultRates();
    const char* keys[] = {"ExcgCNY", "ExcgUSD", "ExcgJPY", "ExcgHKD", "ExcgTWD", "ExcgXEU", "ExcgGBP"};
    for (std::size_t i = 0; i < current.size(); ++i) {
        std::string expected = current[i];
        std::erase(expected, ',');
        EXPECT_EQ(Setting(std::string("ComExcg\\") + keys[i]), expected) << keys[i];
    }
    EXPECT_EQ(run.DataFile(1017).substr(0, 4), "JPN\t");
    for (const auto& [currency, name] : kCurrencies) {
        std::string expected;
        for (const std::string& line : rates.ExpectedLines(currency, {2026, 11, 2}, kToDate)) expected += line + "\r\n";
        EXPECT_EQ(run.DataFile(1017, std::string("(") + name + ")"), expected) << currency;
    }

    // Every Japanese stock with a report has its research industry, and
    // each industry its level-"0060" entry and series.
    const std::string research = run.DataFile(1002);
    std::set<std::string> industries;
    for (const marketdata::CdmRec& rec : run.Master("1000")) {
        if (platform::TrimBlanks(rec.Key.Market) != "JPN") continue;
        const std::string code = platform::TrimBlanks(rec.Key.CorpCode);
        EXPECT_NE(research.find(code), std::string::npos) << code;
        EXPECT_EQ(marketdata::ResearchIndustryName(rec), testsupport::ResearchIndustryOf(code)) << code;
        EXPECT_FALSE(platform::TrimBlanks(rec.Key.IndCode0060).empty()) << code;
        industries.insert(testsupport::ResearchIndustryOf(code));
    }
    std::set<std::string> entries;
    for (const marketdata::CdmRec& rec : run.Master("0060")) {
        entries.insert(platform::TrimBlanks(marketdata::CompanyName(rec)));
        if (platform::TrimBlanks(rec.Key.CorpCode) != "0001") {
            EXPECT_TRUE(run.HasSeries(rec)) << rec.Key.CorpCode;
        }
    }
    for (const std::string& industry : industries) EXPECT_TRUE(entries.contains(industry)) << industry;
}

// Two Japanese industries, one US and one Chinese on the list site, in the
// industry sources of the installation, their companies on the other sites.
void ListIndustries(ChainInstallation& run, ChainSites& sites, int firstJapanese, int secondJapanese, int others) {
    sites.lists.AddIndustry("JPN", "5001", "水産・農林業", firstJapanese);
    sites.lists.AddIndustry("JPN", "5002", "鉱業", secondJapanese);
    sites.lists.AddIndustry("USA", "6001", "Banks", others);
    sites.lists.AddIndustry("CHN", "7001", "銀行", others);
    for (const auto& [file, namePart, country] :
         {std::tuple{marketdata::kJapanIndustryFileNumber, "", "JPN"}, {marketdata::kUsaIndustryFileNumber, "", "USA"},
          {marketdata::kChinaIndustryFileNumber, "Market", "CHN"}}) {
        std::vector<marketdata::IndustryRec> rows = sites.lists.IndustryRows(country);
        marketdata::BuildIndustryLines(file, 0, 0, namePart, "", run.env, rows);
    }
    sites.ServeListedCompanies();
}

TEST(CollectionChainEndToEnd, EveryCellRunsFromAnEmptyDataFolder) {
    ChainInstallation run;
    ChainSites sites;
    ListIndustries(run, sites, 6, 4, 3);
    run.Request({1, 6, 7, 8, 11, 13, 16, 17, 18, 21, 26, 27, 28, 36, 41});
    run.Run();
    run.ExpectCleanEnd();
    EXPECT_TRUE(run.ui.presenter->boxes.empty());

    // Every listed company has its profile or report and its daily series.
    std::set<std::string> listed;
    for (const testsupport::ListedCompany& company : sites.lists.Listed()) listed.insert(company.code);
    std::set<std::string> stocks;
    for (const marketdata::CdmRec& rec : run.Master("1000")) {
        const std::string code = platform::TrimBlanks(rec.Key.CorpCode);
        stocks.insert(code);
        EXPECT_EQ(rec.Key.Flag2, "1") << code;
        EXPECT_EQ(rec.ProcMark[6].MarkFlag, "1") << code;
        EXPECT_TRUE(run.HasSeries(rec)) << code;
    }
    EXPECT_EQ(stocks, listed);
    for (const long file : {1007L, 1008L, 1011L, 1012L, 1013L}) EXPECT_FALSE(run.DataFile(file).empty()) << file;
    // The sectors are built from their members' series.
    for (const marketdata::CdmRec& rec : run.Master("0050")) {
        if (platform::TrimBlanks(rec.Key.Market) == "JPN") {
            EXPECT_TRUE(run.HasSeries(rec)) << rec.Key.CorpCode;
        }
    }
    ExpectRatesResearchAndIndustries(run, sites.rates);
    EXPECT_EQ(sites.prices.Violations(), std::vector<std::string>{});
}

// A Japanese market of 20 stocks in two industries, five US and five
// Chinese stocks, collected by the chain with the Japanese profiles (the
// unit shares that weigh a stock in its industry) and price series; then the
// exchange-rate, research-provider and industry-series cells requested.
void PrepareMarket(ChainInstallation& run, ChainSites& sites) {
    ListIndustries(run, sites, 12, 8, 5);
    run.Request({6, 7, 8, 11, 26});
    run.Run();
    ASSERT_EQ(run.Master("1000").size(), 30u);
    run.Request({1, 21, 41});
}

// What the three cells write, with the stamps of their writing blanked: the
// key's update date and time, every process's collection stamp, and when the
// market values were taken; the list site's address, which differs from
// installation to installation, reads "HOST".
std::map<std::string, std::string> CellFiles(const ChainInstallation& run, const ChainSites& sites) {
    std::vector<std::size_t> stamps{15, 16, 61, 62};
    for (std::size_t mark = 0; mark < 10; ++mark) {
        stamps.push_back(25 + 3 * mark);
        stamps.push_back(26 + 3 * mark);
    }
    std::map<std::string, std::string> files = run.Files({"/CdmTrial"}, {"/CdmTrial"}, stamps);
    files.merge(run.Files({"/Ind.", "/ロイター業種"}, {"/Ind.", "/ロイター業種"}, {15, 16}));
    files.merge(run.Files({"/為替情報", "/Chart/"}, {}, {}));
    const std::string host = sites.lists.HostPort();
    for (auto& [name, bytes] : files) {
        for (std::size_t at = bytes.find(host); at != std::string::npos; at = bytes.find(host, at)) {
            bytes.replace(at, host.size(), "HOST");
        }
    }
    return files;
}

TEST(CollectionChainEndToEnd, InterruptedRatesResearchAndIndustryCellsGiveTheFilesOfAnUnbrokenRun) {
    std::map<std::string, std::string> reference;
    {
        ChainInstallation run;
        ChainSites sites;
        PrepareMarket(run, sites);
        run.Run();
        run.ExpectCleanEnd();
        EXPECT_TRUE(run.ui.presenter->boxes.empty());
        ExpectRatesResearchAndIndustries(run, sites.rates);
        reference = CellFiles(run, sites);
    }
    {
        ChainInstallation run;
        ChainSites sites;
        PrepareMarket(run, sites);
        {
            // A research child, once the report site has served a few pages.
            const e2e::ChildKiller killer([&sites] { return sites.companies.Requests() >= 3; },
                                          [](const std::string& sequence) { return sequence == "001"; });
            run.Run();
            ASSERT_TRUE(killer.killed());
        }
        EXPECT_NE(run.ErrorLog().find("子プロセスが報告なしで終了しました"), std::string::npos);
        EXPECT_EQ(run.CtrStatus(kResearch), "Z/00");
        EXPECT_EQ(mirelda_e2e::FileDifferences(CellFiles(run, sites), reference), std::vector<std::string>{});
    }
    {
        ChainInstallation run;
        ChainSites sites;
        PrepareMarket(run, sites);
        // While the rate histories are being collected.
        run.InstallCancelAfter([&run, &sites] {
            return run.CtrStatus(kRates) == "B/02" && !sites.rates.Offsets("GBP").empty();
        });
        run.Run();
        ASSERT_EQ(run.ui.presenter->boxes.size(), 1u);
        EXPECT_NE(run.ui.presenter->boxes[0].text.find("を中断します。"), std::string::npos)
            << run.ui.presenter->boxes[0].text;

        EXPECT_TRUE(run.ResumeAfterCancel());
        run.ExpectCleanEnd();
        EXPECT_EQ(mirelda_e2e::FileDifferences(CellFiles(run, sites), reference), std::vector<std::string>{});
    }
}

}  // namespace
