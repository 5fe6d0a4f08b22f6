#include "analysis/exclusive_run.h"

#include <gtest/gtest.h>

#include <string>

#include "analysis/judgement_request.h"
#include "common/settings/settings.h"
#include "common/startup/program_parts.h"
#include "common/startup/run_env.h"
#include "tests/support/fake_ui.h"
#include "tests/support/program_folder.h"

namespace {

constexpr const char* kResumeQuestion =
    "鉤足判定の処理が中断中です。　\r\n\r\n中断中の処理を再開しますが、宜しいで"
    "すか？　";

class ExclusiveRun : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        common::ProgramParts parts;
        parts.batchRunner = [this] { ++resumed_; };
        common::InstallProgramParts(parts);
        common::WriteSetting("MirControl\\Common\\ProcName", "鉤足判定");
    }
    void TearDown() override { common::InstallProgramParts({}); }

    void Store(const char* exec, const char* cancel, const char* procId) {
        common::WriteSetting("MirControl\\Common\\Exec", exec);
        common::WriteSetting("MirControl\\Common\\Cancel", cancel);
        common::WriteSetting("MirControl\\Common\\ProcId", procId);
        ui_.presenter->boxes.clear();
    }

    testsupport::ProgramFolder folder_{true};
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    int resumed_ = 0;
};

TEST_F(ExclusiveRun, MarkedRunIsNamedAndRefused) {
    const struct {
        const char* exec;
        const char* program;
    } cases[] = {{"1", "Mirelda"}, {"2", "Korvane"}, {"x", "Korvane"}};
    for (const auto& c : cases) {
        Store(c.exec, "1", "");  // the run mark wins over a suspended run
        EXPECT_FALSE(analysis::CheckExclusiveRun()) << c.exec;
        ASSERT_EQ(ui_.presenter->boxes.size(), 1u) << c.exec;
        const std::string name = c.program;
        EXPECT_EQ(ui_.presenter->boxes[0].text, "\r\n\r\n「" + name + "」処理中です。　\r\n「" + name +
                                                    "」処理が終了してから実行して下さい。　" +
                                                    "\r\n\r\n処理中で無いにもかかわらず、このメッセージが表示され"
                                                    "る場合は、　"
                                                    "\r\nご不便をお掛けして、大変申し訳ございませんが、　"
                                                    "\r\n「その他の機能」の「実行環境のリセット」を行ってから再実"
                                                    "行して下さい。　\r\n\r\n")
            << c.exec;
        EXPECT_EQ(ui_.presenter->boxes[0].style, 48);
    }
    EXPECT_EQ(resumed_, 0);
}

TEST_F(ExclusiveRun, SuspendedJudgementIsOfferedForResume) {
    for (const char* id : {"", "akagi000", "AMNIG000", "AboaS000"}) {
        Store("", "1", id);
        ui_.presenter->answers = {1};
        EXPECT_FALSE(analysis::CheckExclusiveRun()) << id;  // the resume has run already
        ASSERT_EQ(ui_.presenter->boxes.size(), 1u) << id;
        EXPECT_EQ(ui_.presenter->boxes[0].text, kResumeQuestion) << id;
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "") << id;
    }
    EXPECT_EQ(resumed_, 4);

    Store("", "1", "AKAGI000");
    ui_.presenter->answers = {2};
    EXPECT_FALSE(analysis::CheckExclusiveRun());
    EXPECT_EQ(resumed_, 4);
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "1");
}

TEST_F(ExclusiveRun, SuspendedCollectionIsNamedNotResumed) {
    common::WriteSetting("MirControl\\Common\\ProcName", "株価履歴の収集");
    for (const char* id : {"TQ800000", "AKAGI001"}) {
        Store("", "1", id);
        EXPECT_FALSE(analysis::CheckExclusiveRun()) << id;
        ASSERT_EQ(ui_.presenter->boxes.size(), 1u) << id;
        EXPECT_EQ(ui_.presenter->boxes[0].text,
                  "\r\n株価履歴の収集の処理が中断中です。　\r\n\r\n「Mirelda」で中"
                  "断中の処理を再開するか、　"
                  "\r\n「その他の機能」の「実行環境のリセット」を行ってから再実行し"
                  "て下さい。　\r\n")
            << id;
        EXPECT_EQ(ui_.presenter->boxes[0].style, 48);
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "1");
    }
    EXPECT_EQ(resumed_, 0);
}

TEST_F(ExclusiveRun, FreeSettingsMayStart) {
    for (const char* cancel : {"", "0", " 1"}) {
        Store("", cancel, "AKAGI000");
        EXPECT_TRUE(analysis::CheckExclusiveRun()) << '"' << cancel << '"';
    }
    EXPECT_TRUE(ui_.presenter->boxes.empty());
}

TEST_F(ExclusiveRun, RefusedStartLeavesTheRequestAlone) {
    Store("1", "", "");
    common::WriteSetting("MirControl\\Kesen\\EnvKagi01", "1");
    common::WriteSetting("MirControl\\Common\\Batch", "stale");
    EXPECT_FALSE(analysis::StartJudgement());
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), "stale");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "1");
}

}  // namespace
