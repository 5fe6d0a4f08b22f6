// The real Mirelda driven through its screens (MIR_UI_SCRIPT) against
// loopback sites: from an empty data folder to the company list of Japan,
// its code master and the Japanese price series, then "終　　了".
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "common/settings.h"
#include "marketdata/industry_list.h"
#include "platform/utf8_text.h"
#include "tests/apps/mirelda_installation.h"
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
    lists.UseBrandSetting();
    prices.UseAsPriceSites();
    lists.AddIndustry("JPN", "5001", "水産・農林業", 23);
    lists.AddIndustry("JPN", "5002", "鉱業", 4);
    // The user's one preparation: the industries to collect.
    std::vector<marketdata::IndustryRec> rows = lists.IndustryRows("JPN");
    marketdata::BuildIndustryLines(marketdata::kJapanIndustryFileNumber, 0, 0, "", "", install.env, rows);
    for (const testsupport::ListedCompany& company : lists.Listed("JPN")) {
        prices.AddStock("JPN", company.code, {2026, 10, 1}, {2026, 11, 30});
    }

    const fs::path shots = fs::path(COLLECTOR_E2E_SCREENS_DIR);
    fs::create_directories(shots);
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
    EXPECT_EQ(listed.size(), 27u);
    EXPECT_EQ(series, listed);
    EXPECT_EQ(prices.Violations(), std::vector<std::string>{});
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), std::string(50, '0'));
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");
    // "終　　了" wrote the settings groups, with the choices made on the screen.
    const fs::path group4 = install.folder.data() / "DispData" / "DspSaveNo04.dat";
    ASSERT_TRUE(fs::exists(group4));
    EXPECT_NE(testsupport::ReadBytes(group4).find("MirControl_HpGet_HpCntry02=0"), std::string::npos);
    EXPECT_TRUE(fs::exists(install.folder.data() / "DispData" / "DspSaveNo06.dat"));
}

}  // namespace
