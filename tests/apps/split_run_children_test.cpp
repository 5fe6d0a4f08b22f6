#include <gtest/gtest.h>

#include <filesystem>

#include "common/logs/progress.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "common/tasks/split_run_controller.h"
#include "common/tasks/task_files.h"
#include "platform/cp932.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"
#include "tests/support/scoped_env.h"

namespace {

namespace fs = std::filesystem;

class CancelOnFailedTask : public common::EventPump {
public:
    explicit CancelOnFailedTask(common::EnvRec& env) : env_(env) {}
    void ProcessEvents() override {
        common::TSDRec task;
        if (common::CFTSD10M(102, "", 11, 1, "", env_, task) && task.TaskStatus == "E") {
            common::State().CancelRequested = true;
        }
    }

private:
    common::EnvRec& env_;
};

// The controller starts the real collection program as its child; the child
// goes through start-up and the dispatcher to the collector of its task, which
// finds no part list and ends the task, and the controller learns of it.
TEST(SplitRunWithRealChildren, ChildReachesItsCollectorThroughStartUp) {
    testsupport::ProgramFolder folder;
    testsupport::ScopedEnv offscreen("QT_QPA_PLATFORM", "offscreen");
    fs::copy_file(MIRELDA_EXE, folder.program() / "Mirelda");
    common::State().ExeName = "Mirelda";
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);
    common::InstallUi({nullptr, nullptr, std::make_shared<CancelOnFailedTask>(env), nullptr, nullptr});

    common::TSCRec control;
    common::InitTaskControlRec(11, 1, env, control);
    control.SlotCount = 1;
    common::CFTSC50M(11, "", env, control);
    common::TSDRec task;
    common::InitTaskDetailRec(11, 1, env, control, task);
    task.TaskSlot = 1;
    common::CFTSD50M(11, 1, env, task);

    common::MSGRec msg;
    common::CCTSC50M(11, env, msg);
    common::InstallUi({});

    ASSERT_TRUE(common::CFTSD10M(102, "", 11, 1, "", env, task));
    EXPECT_EQ(task.TaskStatus, "Z");
    EXPECT_FALSE(fs::exists(folder.program() / "Temp" / "TSDRUN011001S.dat"));
    const std::string childLog =
        platform::FromCp932(testsupport::ReadBytes(folder.program() / "Log" / "AplLog011001.txt")).text;
    EXPECT_NE(childLog.find("AHPJP30M,90:Worning,02,処理対象の企業が存在しません"), std::string::npos);
}

}  // namespace
