// The real programs with real message boxes (no scripted answers): the
// cancel question of a run's progress dialog answered in the middle of the
// run, while the main window is hidden. Each program is still there after
// the run, its window back, until its own "終　　了" ends it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <string>

#include "common/settings/settings.h"
#include "tests/apps/judgement_installation.h"
#include "tests/apps/price_installation.h"
#include "tests/support/child_process.h"
#include "tests/support/file_bytes.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kCancelQuestion =
    "49\t「中断」ボタンが、押下されました。　\\r\\n\\r\\n"
    "「中断」を押下した場合、キャンセルした場所から再処理する事が出来ます　\\r\\n\\r\\n"
    "キャンセルして宜しいでしょうか？　\\r\\n\n";

// Runs the program of the installation at `root` with the screen actions of
// `script` and real message boxes, which `boxes` records, until it ends;
// whether it ended with status 0. A script's picture taken after the run
// shows that the program and its window outlived the run.
bool RunWithRealBoxes(const fs::path& program, const fs::path& root, const std::string& script,
                      const fs::path& boxes) {
    const fs::path scriptFile = root / "ui_script.txt";
    testsupport::WriteBytes(scriptFile, script);
    testsupport::ChildProcess process(program.string(), {},
                                      {{"QT_QPA_PLATFORM", "offscreen"},
                                       {"MIR_UI_SCRIPT", scriptFile.string()},
                                       {"MIR_MSGBOX_LOG", boxes.string()}});
    const std::optional<int> status = process.WaitForExit(120s);
    EXPECT_TRUE(status.has_value()) << program << " did not end";
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

std::string Boxes(const fs::path& boxes) { return fs::exists(boxes) ? testsupport::ReadBytes(boxes) : ""; }

TEST(AnsweredBoxEndToEnd, MireldaOutlivesTheCancelQuestionOfAPriceRun) {
    const fs::path shots = COLLECTOR_E2E_SCREENS_DIR;
    fs::create_directories(shots);
    // OK stops the run, which then says so in a second box; Cancel lets it go on.
    struct Case {
        const char* answer;
        bool stops;
        const char* laterBoxes;
    };
    for (const Case c : {Case{"Cancel", false, ""}, Case{"OK", true, "48\t株価時系列データ（国内）の収集を中断します。　\n"}}) {
        SCOPED_TRACE(c.answer);
        price_e2e::PriceInstallation install(price_e2e::JapaneseStocks(8), {2025, 3, 3}, 2);
        common::WriteSetting("MirControl\\Common\\Init", "1");
        for (const char* key : {"HpCntry02", "HpCntry03"}) common::WriteSetting(std::string("MirControl\\HpGet\\") + key, "0");
        const fs::path shot = shots / (std::string("frmGetBsc_after_answered_") + c.answer + ".png");
        fs::remove(shot);
        const fs::path boxes = install.folder.root() / "boxes.txt";

        EXPECT_TRUE(RunWithRealBoxes(install.folder.program() / "Mirelda", install.folder.root(),
                                     std::string("answer ") + c.answer + " FormProgress1/BtnCan\n" +
                                         (c.stops ? "answer OK\n" : "") +
                                         "click frmGetBsc/Btn0201\n"
                                     "screenshot frmGetBsc " + shot.string() + "\n"
                                     "click frmGetMenu/Command6\n",
                                     boxes));
        EXPECT_EQ(Boxes(boxes), std::string(kCancelQuestion) + c.laterBoxes);
        EXPECT_TRUE(fs::exists(shot)) << "the main window is not back after the run";

        // The stopped run stays requested for its resume; the other one ran to its end.
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), c.stops ? "1" : "");
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch")[25], c.stops ? '1' : '0');
        if (!c.stops) {
            const std::map<std::string, std::string> files = install.DataFiles();
            EXPECT_EQ(std::count_if(files.begin(), files.end(),
                                    [](const auto& file) { return file.first.find("/Chart/") != std::string::npos; }),
                      8);
        }
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");
    }
}

TEST(AnsweredBoxEndToEnd, KorvaneOutlivesTheCancelQuestionOfAJudgement) {
    judgement_e2e::Installation run;
    common::WriteSetting("MirControl\\Common\\Init", "1");
    for (const char* key : {"EnvKagi02", "EnvKagi03", "EnvKagi04"}) {
        common::WriteSetting(std::string("MirControl\\Kesen\\") + key, "0");
    }
    const fs::path shots = fs::path(COLLECTOR_E2E_SCREENS_DIR).parent_path() / "analyzer_screens";
    fs::create_directories(shots);
    const fs::path shot = shots / "frmKsnParm_after_answered_Cancel.png";
    fs::remove(shot);
    const fs::path boxes = run.folder.root() / "boxes.txt";

    EXPECT_TRUE(RunWithRealBoxes(run.folder.program() / "Korvane", run.folder.root(),
                                 "answer Cancel FormProgress1/BtnCan\n"
                                 "click frmGetKMenu/Command1\n"
                                 "click frmKsnParm/BasicCommand7\n"
                                 "screenshot frmKsnParm " + shot.string() + "\n"
                                 "click frmGetKMenu/Command6\n",
                                 boxes));
    EXPECT_EQ(Boxes(boxes), kCancelQuestion);
    EXPECT_EQ(run.ExpectCompleteRun().size(), 2u);
    EXPECT_TRUE(fs::exists(shot)) << "the main window is not back after the run";
    EXPECT_TRUE(fs::exists(run.folder.data() / "DispData" / "DspSaveNo01.dat")) << "not ended by 終　　了";
}

}  // namespace
