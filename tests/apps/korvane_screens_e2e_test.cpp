// The real Korvane driven through its screens (MIR_UI_SCRIPT): a judgement
// started by a click, the program killed in the middle of it, started again
// and the run resumed by a click, with the files of an unbroken run; then the
// result lists and a stock's chart opened by clicks and pictured.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>

#include "analysis/batch_runner.h"
#include "common/settings/settings.h"
#include "marketdata/code_master.h"
#include "marketdata/name_index.h"
#include "tests/apps/judgement_installation.h"
#include "tests/support/child_process.h"
#include "tests/support/file_bytes.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using judgement_e2e::Installation;

// Korvane as its user starts it, running `script` once its screens are up.
class KorvaneStart {
public:
    KorvaneStart(Installation& run, const std::string& name, const std::string& script, const std::string& answers)
        : boxes_(run.folder.root() / (name + "_boxes.txt")) {
        const fs::path scriptFile = run.folder.root() / (name + "_script.txt");
        const fs::path answerFile = run.folder.root() / (name + "_answers.txt");
        testsupport::WriteBytes(scriptFile, script);
        testsupport::WriteBytes(answerFile, answers);
        korvane_ = std::make_unique<testsupport::ChildProcess>(
            (run.folder.program() / "Korvane").string(), std::vector<std::string>{},
            std::map<std::string, std::string>{{"QT_QPA_PLATFORM", "offscreen"},
                                               {"MIR_UI_SCRIPT", scriptFile.string()},
                                               {"MIR_MSGBOX_SCRIPT", answerFile.string()},
                                               {"MIR_MSGBOX_LOG", boxes_.string()}});
    }

    testsupport::ChildProcess& process() { return *korvane_; }
    std::string Boxes() const { return fs::exists(boxes_) ? testsupport::ReadBytes(boxes_) : ""; }

private:
    fs::path boxes_;
    std::unique_ptr<testsupport::ChildProcess> korvane_;
};

// Japan alone is ticked for the judgement; the result list shows level 4,
// whose rows open the judgement details. The installation has been started
// before, so its settings stay.
void ChooseOnTheScreens() {
    common::WriteSetting("MirControl\\Common\\Init", "1");
    for (const char* key : {"EnvKagi02", "EnvKagi03", "EnvKagi04"}) {
        common::WriteSetting(std::string("MirControl\\Kesen\\") + key, "0");
    }
    common::WriteSetting("MirControl\\KsnSum\\RsltSlctSumry", "Level4 : 陰陽・転換出現状況・法則・法則詳細");
}

TEST(KorvaneScreensEndToEnd, AJudgementKilledAndResumedByClicksThenListedAndCharted) {
    std::map<std::string, std::string> reference;
    {
        Installation run;
        analysis::RunBatch();
        reference = run.ExpectCompleteRun();
        ASSERT_EQ(reference.size(), 2u);
    }

    Installation run;
    ChooseOnTheScreens();
    common::MSGRec msg;
    marketdata::BuildNameIndex(marketdata::kCodeMasterFileNumber, 0, 0, "JPN", "", "", "", run.env, msg);
    {
        KorvaneStart first(run, "first", "click frmGetKMenu/Command1\nclick frmKsnParm/BasicCommand7\n", "");
        const pid_t parent = first.process().pid();
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (judgement_e2e::ChildrenOf(parent).empty() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(2ms);
        }
        ASSERT_FALSE(judgement_e2e::ChildrenOf(parent).empty()) << "the judgement did not start its children";
        std::this_thread::sleep_for(300ms);
        kill(parent, SIGKILL);
        ASSERT_TRUE(first.process().WaitForExit(10s).has_value());
        EXPECT_EQ(first.Boxes(), "");
    }
    EXPECT_NE(run.Ctr().Status, "Z") << "the run ended before the kill";

    const fs::path shots = fs::path(COLLECTOR_E2E_SCREENS_DIR).parent_path() / "analyzer_screens";
    fs::create_directories(shots);
    const fs::path listShot = shots / "korvane_e2e_frmKsnList.png";
    const fs::path chartShot = shots / "korvane_e2e_frmGetChart.png";
    fs::remove(listShot);
    fs::remove(chartShot);
    KorvaneStart second(run, "second",
                        "click frmGetKMenu/Command1\n"
                        "click frmKsnParm/BasicCommand7\n"
                        "click frmGetKMenu/Command2\n"
                        "click frmKsnList/Command3\n"
                        "dblclick frmKsnList/ListView1 0\n"
                        "dblclick frmKsnList/ListView2 0\n"
                        "screenshot frmKsnList " + listShot.string() + "\n"
                        "screenshot frmGetChart " + chartShot.string() + "\n"
                        "click frmGetKMenu/Command6\n",
                        "OK\n");
    const std::optional<int> status = second.process().WaitForExit(180s);
    ASSERT_TRUE(status.has_value()) << "Korvane did not end";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
    // The interrupted run is offered for resume and taken up; nothing else is said.
    const std::string boxes = second.Boxes();
    EXPECT_EQ(boxes.rfind("33\t", 0), 0u) << boxes;
    EXPECT_NE(boxes.find("の処理が中断中です。　\\r\\n\\r\\n中断中の処理を再開しますが、宜しいですか？　\n"),
              std::string::npos)
        << boxes;
    EXPECT_EQ(std::count(boxes.begin(), boxes.end(), '\n'), 1) << boxes;

    EXPECT_EQ(run.ExpectCompleteRun(), reference);
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "");
    EXPECT_TRUE(fs::exists(listShot));
    EXPECT_TRUE(fs::exists(chartShot));
    EXPECT_TRUE(fs::exists(run.folder.data() / "DispData" / "DspSaveNo01.dat"));
}

}  // namespace
