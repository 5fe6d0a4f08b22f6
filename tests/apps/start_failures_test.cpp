// Start-up failures of the real program that must be reported as what they are.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "common/startup/run_env.h"
#include "common/tasks/child_mode.h"
#include "common/tasks/task_files.h"
#include "platform/cp932.h"
#include "tests/support/child_process.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class StartFailure : public ::testing::Test {
protected:
    void SetUp() override { fs::copy_file(KORVANE_EXE, folder_.program() / "Korvane"); }

    // Runs Korvane with `args` and `config` as its settings folder; false when it does not end.
    bool RunToEnd(const std::vector<std::string>& args, const std::string& config) {
        testsupport::ChildProcess program((folder_.program() / "Korvane").string(), args,
                                          {{"QT_QPA_PLATFORM", "offscreen"},
                                           {"XDG_CONFIG_HOME", config},
                                           {"MIR_MSGBOX_SCRIPT", (folder_.root() / "none").string()},
                                           {"MIR_MSGBOX_LOG", boxes_.string()}});
        return program.WaitForExit(20s).has_value();
    }

    std::string Boxes() const { return fs::exists(boxes_) ? testsupport::ReadBytes(boxes_) : ""; }

    testsupport::ProgramFolder folder_{true};
    fs::path boxes_ = folder_.root() / "boxes.log";
};

// A lock file that cannot be opened is a file error, not a running copy.
TEST_F(StartFailure, InstanceLockThatCannotBeOpenedIsReportedAsSuch) {
    fs::create_directories(folder_.program() / "Ctrl" / "Korvane.lock");
    ASSERT_TRUE(RunToEnd({}, (folder_.root() / "config").string()));
    const std::string boxes = Boxes();
    EXPECT_EQ(boxes.find("既に起動されています"), std::string::npos) << boxes;
    EXPECT_EQ(boxes.rfind("16\t\\r\\nＶＢエラーを検出しました。　\\r\\n75:", 0), 0u) << boxes;
    EXPECT_NE(boxes.find("Korvane.lock"), std::string::npos) << boxes;
}

// A child whose settings store cannot be opened shows no box, logs the
// error and fails its task, so that its parent counts it.
TEST_F(StartFailure, ChildWithoutItsSettingsStoreFailsItsTask) {
    common::EnvRec env;
    common::CCENV00M(env);
    common::TSCRec control;
    common::InitTaskControlRec(21, 1, env, control);
    common::TSDRec task;
    common::InitTaskDetailRec(21, 1, env, control, task);
    common::CFTSD50M(21, 1, env, task);
    const fs::path notAFolder = folder_.root() / "config-file";
    testsupport::WriteBytes(notAFolder, "x");

    ASSERT_TRUE(RunToEnd({common::kChildModeToken, "021", "001"}, notAFolder.string()));
    EXPECT_EQ(Boxes(), "");
    common::TSDRec report;
    ASSERT_TRUE(common::CFTSD10M(111, "", 21, 1, "S", env, report));
    EXPECT_EQ(report.TaskStatus, "E");
    const fs::path errors = folder_.program() / "Log" / "ErrLog021001.txt";
    ASSERT_TRUE(fs::exists(errors));
    EXPECT_NE(platform::FromCp932(testsupport::ReadBytes(errors)).text.find("設定ストアを開けません"), std::string::npos);
}

}  // namespace
