#include "common/logs/progress_buttons.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cerrno>

#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "common/tasks/live_children.h"
#include "platform/child_process.h"
#include "tests/support/fake_ui.h"
#include "tests/support/program_folder.h"

namespace {

class ProgressButtons : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        common::WriteSetting("MirControl\\Common\\Cancel", "");
    }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    common::EnvRec env_;
};

TEST_F(ProgressButtons, CancelOnlyAfterConfirmation) {
    ui_.presenter->answers = {2, 1};
    common::ConfirmCancel();
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "");
    EXPECT_FALSE(common::State().CancelRequested);

    common::ConfirmCancel();
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "1");
    EXPECT_TRUE(common::State().CancelRequested);
    ASSERT_EQ(ui_.presenter->boxes.size(), 2u);
    EXPECT_EQ(ui_.presenter->boxes[0].style, 49);
    EXPECT_TRUE(ui_.presenter->boxes[0].text.ends_with("\r\n\r\nキャンセルして宜しいでしょうか？　\r\n"));
}

TEST_F(ProgressButtons, EmergencyStopResetsAndEnds) {
    common::WriteSetting("MirControl\\Common\\Exec", "1");
    common::WriteSetting("MirControl\\Common\\Batch", std::string(50, '1'));
    ui_.presenter->answers = {2};
    common::ConfirmEmergencyStop();
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "1");

    // A child of a split run that does not stop at the cancel flag.
    const std::optional<pid_t> child = platform::StartProcess("/bin/sleep", {"60"});
    ASSERT_TRUE(child.has_value());
    common::NoteLiveChild(*child);

    ui_.presenter->answers = {1};
    EXPECT_THROW(common::ConfirmEmergencyStop(), testsupport::ProgramEnded);
    // Killed and reaped: not even a zombie is left under its id.
    EXPECT_EQ(::kill(*child, 0), -1);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_TRUE(common::State().liveChildren.empty());
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), "");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "0");
    EXPECT_TRUE(ui_.presenter->boxes[1].text.ends_with("強制終了して宜しいでしょうか？　\r\n"));
}

}  // namespace
