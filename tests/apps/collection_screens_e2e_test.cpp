// The real Mirelda driven through its screens (MIR_UI_SCRIPT) against
// loopback sites: from an empty data folder to the company list of Japan,
// its code master and the Japanese price series, then "終　　了"; then the
// real Korvane judges them, lists the results and charts a stock. Both are
// installed into their one program folder as ./run.sh installs them, and
// installed again over a running copy and over the collected data.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "analysis/judge_result_file.h"
#include "common/settings/settings.h"
#include "marketdata/code_master.h"
#include "platform/cp932.h"
#include "platform/utf8_text.h"
#include "tests/apps/mirelda_installation.h"
#include "tests/apps/program_install.h"
#include "tests/support/child_process.h"
#include "tests/support/list_site.h"
#include "tests/support/price_site.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(CollectionScreensEndToEnd, FromAnEmptyDataFolderToPriceSeriesByClicking) {
    mirelda_e2e::MireldaInstallation install(2);
    testsupport::ListSite lists;
    testsupport::PriceSite prices;
    // The industries of the example file that the README points to.
    lists.AddIndustry("JPN", "3050", "食料品", 23);
    lists.AddIndustry("JPN", "3650", "電気機器", 4);
    lists.AddIndustry("JPN", "7050", "銀行業", 3);
    for (const testsupport::ListedCompany& company : lists.Listed("JPN")) {
        prices.AddStock("JPN", company.code, {2026, 10, 1}, {2026, 11, 30});
    }

    const fs::path shots = fs::path(COLLECTOR_E2E_SCREENS_DIR);
    fs::create_directories(shots);
    ASSERT_TRUE(e2e::InstallPrograms(install.folder.program()));
    {
        // Installing again while a copy runs (a second ./run.sh) puts new
        // files in place instead of writing into the running copy's, which
        // goes on running.
        const fs::path menuShot = install.folder.root() / "menu.png";
        const fs::path menuScript = install.folder.root() / "menu_script.txt";
        testsupport::WriteBytes(menuScript, "screenshot frmGetMenu " + menuShot.string() + "\n");
        testsupport::ChildProcess running((install.folder.program() / "Mirelda").string(), {},
                                          {{"QT_QPA_PLATFORM", "offscreen"}, {"MIR_UI_SCRIPT", menuScript.string()}});
        for (int wait = 0; wait < 600 && !fs::exists(menuShot); ++wait) std::this_thread::sleep_for(100ms);
        ASSERT_TRUE(fs::exists(menuShot)) << "Mirelda did not come up";
        ASSERT_TRUE(e2e::InstallPrograms(install.folder.program()));
        struct stat image {};
        struct stat installed {};
        ASSERT_EQ(stat(("/proc/" + std::to_string(running.pid()) + "/exe").c_str(), &image), 0);
        ASSERT_EQ(stat((install.folder.program() / "Mirelda").c_str(), &installed), 0);
        EXPECT_NE(image.st_ino, installed.st_ino);
        EXPECT_FALSE(running.WaitForExit(1s).has_value()) << "the running copy ended";
    }

    // The user's preparation as the README tells it: the example industry
    // file with the host of the list site, and the settings-group file with
    // the host of the price site and the list brand, saved in UTF-8 as a
    // Linux editor saves it.
    std::string industries = testsupport::ReadBytes(MIR_SOURCE_DIR "/examples/IndustryJpn.txt");
    for (std::size_t at = industries.find("portal.example"); at != std::string::npos;
         at = industries.find("portal.example", at)) {
        industries.replace(at, std::string("portal.example").size(), lists.HostPort());
    }
    testsupport::WriteBytes(install.folder.data() / "WebData" / "IndustryJpn.txt", industries);
    const fs::path group4 = install.folder.data() / "DispData" / "DspSaveNo04.dat";
    testsupport::WriteBytes(group4, "MirControl_HpGet_SiteJpPrices=" + prices.HostPort() +
                                        "\nMirControl_HpGet_ListBrand=" + testsupport::ListSite::kBrand + "\n");

    const fs::path script = install.folder.root() / "ui_script.txt";
    testsupport::WriteBytes(script,
                            "click frmGetBsc/CKBox0101_1\n"
                            "click frmGetBsc/BasicCommand1\n"
                            "click frmGetHelp/HelpCommand1\n"
                            "click frmGetBsc/CKBox0201_2\n"
                            "click frmGetBsc/CKBox0201_3\n"
                            "screenshot frmGetBsc " + (shots / "frmGetBsc_before_prices.png").string() + "\n"
                            "click frmGetBsc/Btn0201\n"
                            "click frmGetMenu/Command6\n");
    const fs::path answers = install.folder.root() / "answers.txt";
    const fs::path boxes = install.folder.root() / "boxes.txt";
    testsupport::WriteBytes(answers, "OK\n");
    testsupport::ChildProcess mirelda((install.folder.program() / "Mirelda").string(), {},
                                      {{"QT_QPA_PLATFORM", "offscreen"},
                                       {"MIR_UI_SCRIPT", script.string()},
                                       {"MIR_MSGBOX_SCRIPT", answers.string()},
                                       {"MIR_MSGBOX_LOG", boxes.string()}});
    const std::optional<int> status = mirelda.WaitForExit(240s);
    ASSERT_TRUE(status.has_value()) << "Mirelda did not end";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
    // The code master rebuilt from the collected lists asks and informs; nothing else is shown.
    EXPECT_EQ(testsupport::ReadBytes(boxes),
              "33\t収集した企業一覧の業種情報から、コードマスターを作成し直します。　\\r\\n\\r\\n宜しいですか？　\n"
              "64\tコードマスターの初期化が終了しました。　\n");

    // Every listed company of Japan has its daily series; no violation of the pages' rules.
    std::set<std::string> listed;
    for (const testsupport::ListedCompany& company : lists.Listed("JPN")) listed.insert(company.code);
    std::set<std::string> series;
    for (const auto& entry : fs::recursive_directory_iterator(install.folder.data())) {
        const std::string path = entry.path().string();
        if (!entry.is_regular_file() || path.find("/Chart/") == std::string::npos) continue;
        for (const std::string& code : listed) {
            if (entry.path().filename().string().find(code) != std::string::npos) series.insert(code);
        }
    }
    EXPECT_EQ(listed.size(), 30u);
    EXPECT_EQ(series, listed);
    // The brand ends every page's list: no footer line became a company.
    marketdata::CdmTbl master;
    marketdata::CFCDM10M(marketdata::kCodeMasterFileNumber, 0, 0, "", "", "", "", install.env, {}, master);
    std::set<std::string> stocks;
    for (const marketdata::CdmRec& rec : master) {
        if (rec.Key.Category == "1000") stocks.insert(platform::TrimBlanks(rec.Key.CorpCode));
    }
    EXPECT_EQ(stocks, listed);
    EXPECT_EQ(prices.Violations(), std::vector<std::string>{});
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), std::string(50, '0'));
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");
    // "終　　了" wrote the settings groups, with the choices made on the screen.
    const std::string groupFile = testsupport::ReadBytes(group4);
    EXPECT_NE(groupFile.find("MirControl_HpGet_HpCntry02=0"), std::string::npos);
    EXPECT_NE(groupFile.find(platform::ToCp932("MirControl_HpGet_ListBrand=" +
                                               std::string(testsupport::ListSite::kBrand) + "\r\n").bytes),
              std::string::npos);
    EXPECT_TRUE(fs::exists(install.folder.data() / "DispData" / "DspSaveNo06.dat"));

    // A rebuild installs the programs again and leaves every data file as it was.
    const std::vector<std::string> data{"/Ctrl/", "/Log/", "/Temp/", "/HpData/"};
    const std::map<std::string, std::string> collected = install.Files(data, {}, {});
    ASSERT_TRUE(e2e::InstallPrograms(install.folder.program()));
    EXPECT_EQ(mirelda_e2e::FileDifferences(install.Files(data, {}, {}), collected), std::vector<std::string>{});

    // Then Korvane from the same program folder, as the README goes on: judge
    // Japan, list the results and a stock's chart, screen the stocks, and end.
    const fs::path korvaneScript = install.folder.root() / "korvane_script.txt";
    testsupport::WriteBytes(korvaneScript,
                            "click frmGetKMenu/Command1\n"
                            "click frmKsnParm/CKBox0105_2\n"
                            "click frmKsnParm/CKBox0105_3\n"
                            "click frmKsnParm/CKBox0105_4\n"
                            "click frmKsnParm/BasicCommand7\n"
                            "click frmGetKMenu/Command2\n"
                            "choose frmKsnList/ComboSummary Level4 : 陰陽・転換出現状況・法則・法則詳細\n"
                            "click frmKsnList/Command3\n"
                            "dblclick frmKsnList/ListView1 0\n"
                            "dblclick frmKsnList/ListView2 0\n"
                            "screenshot frmGetChart " + (shots / "korvane_chart_after_collection.png").string() + "\n"
                            "click frmGetKMenu/Command12\n"
                            "click frmGetList/Command1\n"
                            "screenshot frmGetList " + (shots / "korvane_list_after_collection.png").string() + "\n"
                            "click frmGetKMenu/Command6\n");
    const fs::path korvaneBoxes = install.folder.root() / "korvane_boxes.txt";
    testsupport::ChildProcess korvane((install.folder.program() / "Korvane").string(), {},
                                      {{"QT_QPA_PLATFORM", "offscreen"},
                                       {"MIR_UI_SCRIPT", korvaneScript.string()},
                                       {"MIR_MSGBOX_SCRIPT", answers.string()},
                                       {"MIR_MSGBOX_LOG", korvaneBoxes.string()}});
    const std::optional<int> korvaneStatus = korvane.WaitForExit(240s);
    ASSERT_TRUE(korvaneStatus.has_value()) << "Korvane did not end";
    EXPECT_TRUE(WIFEXITED(*korvaneStatus) && WEXITSTATUS(*korvaneStatus) == 0) << *korvaneStatus;
    EXPECT_FALSE(fs::exists(korvaneBoxes)) << testsupport::ReadBytes(korvaneBoxes);
    EXPECT_TRUE(fs::exists(analysis::CountryDataFilePath(install.env, 40001, 0, 0, "JPN", "", ".dat")));
    for (const char* shot : {"korvane_chart_after_collection.png", "korvane_list_after_collection.png"}) {
        EXPECT_TRUE(fs::exists(shots / shot)) << shot;
    }
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), std::string(50, '0'));
}

}  // namespace
