// The company-profile and market-report steps of the collection chain with
// the real Mirelda as the child copies and a loopback company site: the
// profiles of Japan and China and the reports of the three markets for a
// code master of 30 companies give the result masters and the code-master
// values; a killed child and a cancel with its resume give the files of an
// unbroken run.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "marketdata/code_master.h"
#include "marketdata/company_profile.h"
#include "marketdata/market_report.h"
#include "platform/utf8_text.h"
#include "tests/apps/child_killer.h"
#include "tests/apps/mirelda_installation.h"
#include "tests/support/company_site.h"
#include "tests/support/profile_pages.h"
#include "tests/support/quote_pages.h"

namespace {

namespace fs = std::filesystem;

constexpr long kJapanProfiles = 51;
constexpr long kChinaProfiles = 52;
constexpr long kJapanReports = 61;
constexpr long kChinaReports = 62;
constexpr long kUsaReports = 63;
// A Japanese company the site does not know.
constexpr const char* kUnknown = "9998";

// Ten companies of each market on the company site and in the code master
// (one more Japanese company only in the code master), and the chain's
// profile and report steps requested.
class ReportInstallation : public mirelda_e2e::MireldaInstallation {
public:
    ReportInstallation() : MireldaInstallation(3) {
        site.UseAsCompanySites();
        marketdata::CdmTbl master;
        for (int n = 0; n < 10; ++n) {
            AddCompany(master, {"JPN", std::to_string(1301 + n), "日本" + std::to_string(n + 1) + "工業"});
            AddCompany(master, {"CHN", "0" + std::to_string(700 + n), "中華" + std::to_string(n + 1) + "集団"});
            AddCompany(master, {"USA", "T" + std::string(1, static_cast<char>('A' + n)) + "X", "Corp" + std::to_string(n)});
        }
        Add(master, {"JPN", kUnknown, "未登録"});
        marketdata::WriteCodeMaster(marketdata::kCodeMasterFileNumber, 0, 0, "", "", static_cast<long>(master.size()),
                                    env, master);
        Request({11, 13, 16, 17, 18});
    }

    // The result masters, the code master and the price series, with the
    // stamps of their writing blanked: the key's update date and time, the
    // profile and report marks and the time the report values were taken.
    std::map<std::string, std::string> ReportFiles() const {
        std::map<std::string, std::string> files =
            Files({"/CdmTrial"}, {"/CdmTrial"}, {15, 16, 37, 38, 40, 41, 61, 62});
        files.merge(Files({"/企業情報", "/マーケット速報"}, {"/企業情報", "/マーケット速報"}, {15, 16}));
        files.merge(Files({"/Chart/"}, {}, {}));
        return files;
    }

    marketdata::CdmRec Company(const std::string& market, const std::string& code) {
        marketdata::CdmTbl master;
        marketdata::CFCDM10M(marketdata::kCodeMasterFileNumber, 0, 0, "", market, "", "", env, {}, master);
        for (const marketdata::CdmRec& rec : master) {
            if (platform::TrimBlanks(rec.Key.CorpCode) == code) return rec;
        }
        ADD_FAILURE() << "no " << market << " " << code;
        return {};
    }

    // The lines of a result master by company code.
    std::map<std::string, std::vector<std::string>> ResultLines(long fileNumber) {
        std::map<std::string, std::vector<std::string>> lines;
        const std::string path = common::BuildDataFilePath(fileNumber, 0, 0, "", "", env);
        std::istringstream in(platform::FromCp932(testsupport::ReadBytes(path)).text);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::vector<std::string> fields;
            for (const std::string_view field : platform::SplitAt(line, '\t')) fields.emplace_back(field);
            if (fields.size() > 11) lines[platform::TrimBlanks(fields[11])] = fields;
        }
        return lines;
    }

    void ExpectCompleteRuns() {
        for (const long process : {kJapanProfiles, kChinaProfiles, kJapanReports, kChinaReports, kUsaReports}) {
            EXPECT_EQ(CtrStatus(process), "Z/00") << process;
        }
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), std::string(50, '0'));
        EXPECT_EQ(ErrorLog().find("E0:ErrApl"), std::string::npos) << ErrorLog();
    }

    testsupport::CompanySite site;

private:
    void AddCompany(marketdata::CdmTbl& master, const testsupport::SiteCompany& company) {
        site.AddCompany(company);
        Add(master, company);
    }
    static void Add(marketdata::CdmTbl& master, const testsupport::SiteCompany& company) {
        marketdata::CdmRec rec;
        marketdata::InitCdmRec(rec, static_cast<std::int32_t>(master.size() + 1));
        marketdata::InitKey(company.country, "", "1000", "", rec.Key);
        rec.Key.CorpCode = marketdata::FitField(company.code, 20, "CorpCode");
        rec.Key.Flag1 = "1";
        rec.InfoText[171 - 133] = company.name;
        master.push_back(rec);
    }
};

TEST(CompanyReportEndToEnd, ProfilesAndReportsOfThreeMarketsReachTheResultMastersAndTheCodeMaster) {
    ReportInstallation run;
    run.Run();
    EXPECT_TRUE(run.ui.presenter->boxes.empty());
    run.ExpectCompleteRuns();

    // Every profile the site serves, field by field; none for the unknown company.
    const auto japanProfiles = run.ResultLines(marketdata::kJapanProfileFileNumber);
    const auto chinaProfiles = run.ResultLines(marketdata::kChinaProfileFileNumber);
    EXPECT_EQ(japanProfiles.size(), 10u);
    EXPECT_EQ(chinaProfiles.size(), 10u);
    EXPECT_FALSE(japanProfiles.contains(kUnknown));
    for (const testsupport::SiteCompany& company : run.site.Companies()) {
        if (company.country == "USA") continue;
        const auto& lines = company.country == "JPN" ? japanProfiles : chinaProfiles;
        const testsupport::ProfileTexts expected = company.country == "JPN"
                                                       ? testsupport::ExpectedJapanProfileTexts(company.code, company.name)
                                                       : testsupport::ExpectedChinaProfileTexts(company.code, company.name);
        ASSERT_TRUE(lines.contains(company.code)) << company.code;
        const std::vector<std::string>& fields = lines.at(company.code);
        ASSERT_EQ(fields.size(), static_cast<std::size_t>(marketdata::kCpiFieldCount)) << company.code;
        for (std::size_t n = 1; n < expected.size(); ++n) EXPECT_EQ(fields[15 + n], expected[n]) << company.code << " " << n;
    }

    // One report line a company; the code master takes the report's values.
    for (const long file : {marketdata::kJapanReportFileNumber, marketdata::kChinaReportFileNumber,
                            marketdata::kUsaReportFileNumber}) {
        const auto lines = run.ResultLines(file);
        EXPECT_EQ(lines.size(), 10u) << file;
        for (const auto& [code, fields] : lines) EXPECT_EQ(fields.size(), 166u) << code;
    }
    for (const testsupport::SiteCompany& company : run.site.Companies()) {
        SCOPED_TRACE(company.country + " " + company.code);
        marketdata::CdmRec rec = run.Company(company.country, company.code);
        EXPECT_EQ(rec.Key.Flag2, "1");
        EXPECT_EQ(rec.Attr2, "1");
        EXPECT_EQ(rec.ProcMark[6].MarkFlag, "1");
        // The pages show the price whole (Japan), with ".40" (China) or ".50" (United States).
        const testsupport::QuoteFigures figures = testsupport::QuoteFiguresOf(company.code);
        const std::string cents = company.country == "CHN" ? ".40" : company.country == "USA" ? ".50" : "";
        if (!figures.missingMarks) {
            EXPECT_EQ(rec.RptText[9], figures.price + cents);
        }
        if (company.country == "JPN") {
            EXPECT_EQ(marketdata::MarketName(rec), "東証1部");
        }
        if (company.country == "USA") {
            EXPECT_EQ(marketdata::MarketName(rec), "NasdaqGS");
        }
        // A Chinese quote names no market: the profile's stays.
        if (company.country == "CHN") {
            const std::string markets = testsupport::ExpectedChinaProfileTexts(company.code, company.name)[25];
            EXPECT_EQ(marketdata::MarketName(rec), platform::TrimBlanks(markets.substr(0, markets.find(','))));
        }
    }
    marketdata::CdmRec unknown = run.Company("JPN", kUnknown);
    EXPECT_EQ(unknown.Key.Flag2, "9");
    EXPECT_EQ(unknown.Key.Flag1, "0");
    EXPECT_NE(run.RunLog().find("無し(1) " + std::string(kUnknown)), std::string::npos) << run.RunLog();
}

TEST(CompanyReportEndToEnd, InterruptedRunsGiveTheFilesOfAnUninterruptedOne) {
    std::map<std::string, std::string> reference;
    {
        ReportInstallation run;
        run.Run();
        run.ExpectCompleteRuns();
        reference = run.ReportFiles();
        ASSERT_FALSE(reference.empty());
    }
    {
        ReportInstallation run;
        {
            // The first part of the Japanese profiles, while it waits for its
            // second company's page: it has fetched a page and not reported.
            run.site.HoldNext("1302");
            const e2e::ChildKiller killer([&run] { return run.site.Requests("1302") >= 1; },
                                          [](const std::string& sequence) { return sequence == "001"; });
            run.Run();
            ASSERT_TRUE(killer.killed());
        }
        EXPECT_NE(run.ErrorLog().find("子プロセスが報告なしで終了しました"), std::string::npos);
        run.ExpectCompleteRuns();
        EXPECT_EQ(mirelda_e2e::FileDifferences(run.ReportFiles(), reference), std::vector<std::string>{});
    }
    {
        ReportInstallation run;
        // In the middle of the Japanese reports.
        run.InstallCancelAfter([&run] { return run.CtrStatus(kJapanReports) == "B/02" && run.site.Requests() >= 25; });
        run.Run();
        ASSERT_EQ(run.ui.presenter->boxes.size(), 1u);
        EXPECT_NE(run.ui.presenter->boxes[0].text.find("を中断します。"), std::string::npos)
            << run.ui.presenter->boxes[0].text;

        EXPECT_TRUE(run.ResumeAfterCancel());
        run.ExpectCompleteRuns();
        EXPECT_EQ(mirelda_e2e::FileDifferences(run.ReportFiles(), reference), std::vector<std::string>{});
    }
}

// A cancel at any step of the Japanese reports ends the run at once (the
// chain stops before the US reports); the resume runs what is left, each page
// asked for once (a market that came to its end is not run again), and gives
// the files of an unbroken run.
TEST(CompanyReportEndToEnd, CancelAtEveryStepEndsTheRunAndTheResumeFinishesIt) {
    std::map<std::string, std::string> reference;
    int pages = 0;
    {
        ReportInstallation run;
        run.Request({16, 17});
        run.Run();
        EXPECT_EQ(run.CtrStatus(kJapanReports), "Z/00");
        EXPECT_EQ(run.CtrStatus(kUsaReports), "Z/00");
        reference = run.ReportFiles();
        pages = run.site.Requests();
    }
    struct Moment {
        const char* step;     // the Japanese run's step the cancel comes in
        const char* stopsAt;  // its control record when the chain has stopped
    };
    // In step 02 before any child starts, when the parent used to forget the cancel.
    const Moment moments[] = {
        {"B/01", "B/02"}, {"B/02", "B/02"}, {"B/03", "Z/00"}, {"B/04", "Z/00"}, {"B/05", "Z/00"}};
    for (const Moment& moment : moments) {
        SCOPED_TRACE(moment.step);
        ReportInstallation run;
        run.Request({16, 17});
        run.InstallCancelAfter([&run, &moment] { return run.CtrStatus(kJapanReports) == moment.step; });
        run.Run();
        ASSERT_TRUE(run.cancelled);
        EXPECT_EQ(run.CtrStatus(kJapanReports), moment.stopsAt);
        // The Japanese reports stay requested only when they stopped short.
        std::string left(50, '0');
        left[15] = std::string(moment.stopsAt) == "Z/00" ? '0' : '1';
        left[16] = '1';
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), left);

        EXPECT_TRUE(run.ResumeAfterCancel());
        EXPECT_EQ(run.CtrStatus(kUsaReports), "Z/00");
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), std::string(50, '0'));
        EXPECT_EQ(mirelda_e2e::FileDifferences(run.ReportFiles(), reference), std::vector<std::string>{});
        EXPECT_EQ(run.site.Requests(), pages);
    }
}

}  // namespace
