#include "common/screens/run_control.h"

#include <gtest/gtest.h>

#include <string>

#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "platform/cp932.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

constexpr const char* kResumeQuestion = "の処理が中断中です。　\r\n\r\n中断中の処理を再開しますが、宜しいですか？　";

class RunControl : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
    }

    void Store(const char* exec, const char* cancel, const char* procId) {
        common::WriteSetting("MirControl\\Common\\Exec", exec);
        common::WriteSetting("MirControl\\Common\\Cancel", cancel);
        common::WriteSetting("MirControl\\Common\\ProcId", procId);
    }

    bool AskedToResume() const {
        for (const testsupport::ShownBox& box : ui_.presenter->boxes) {
            if (box.text.find(kResumeQuestion) != std::string::npos) return true;
        }
        return false;
    }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    common::EnvRec env_;
};

TEST_F(RunControl, SecondEntryIsRefusedUntilTheFlagIsCleared) {
    EXPECT_TRUE(common::TryEnterBusy());
    EXPECT_FALSE(common::TryEnterBusy());
    EXPECT_TRUE(common::State().busy);
    common::State().busy = false;
    EXPECT_TRUE(common::TryEnterBusy());
}

TEST_F(RunControl, MarkedCollectionRunIsNamedInTheWarning) {
    Store("1", "", "");
    EXPECT_FALSE(common::CheckExclusiveCollection());
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text,
              "\r\n\r\n「Mirelda」処理中です。　\r\n「Mirelda」処理が終了してから実行して下さい。　"
              "\r\n\r\n処理中で無いにもかかわらず、このメッセージが表示される場合は、　"
              "\r\nご不便をお掛けして、大変申し訳ございませんが、　"
              "\r\n「その他の機能」の「実行環境のリセット」を行ってから再実行して下さい。　\r\n\r\n");
    EXPECT_EQ(ui_.presenter->boxes[0].style, 48);
    EXPECT_EQ(ui_.presenter->boxes[0].caption, "Mirelda");
}

TEST_F(RunControl, AnyOtherRunMarkNamesTheAnalysisProgram) {
    for (const char* exec : {"2", "x"}) {
        Store(exec, "1", "");
        ui_.presenter->boxes.clear();
        EXPECT_FALSE(common::CheckExclusiveCollection()) << exec;
        ASSERT_EQ(ui_.presenter->boxes.size(), 1u) << exec;
        const std::string& text = ui_.presenter->boxes[0].text;
        EXPECT_EQ(text.rfind("\r\n\r\n「Korvane」処理中です。　\r\n「Korvane」処理が終了してから", 0), 0u) << text;
        EXPECT_EQ(text.find("@string@"), std::string::npos) << text;
    }
    EXPECT_FALSE(AskedToResume());  // the run mark wins over Cancel
}

TEST_F(RunControl, InterruptedAnalysisRunIsReportedNotResumed) {
    common::WriteSetting("MirControl\\Common\\ProcName", "鉤足判定");
    for (const char* id : {"akagi000", "AMNIG000", "AboaS000"}) {
        Store("", "1", id);
        ui_.presenter->boxes.clear();
        EXPECT_FALSE(common::CheckExclusiveCollection()) << id;
        ASSERT_EQ(ui_.presenter->boxes.size(), 1u) << id;
        EXPECT_EQ(ui_.presenter->boxes[0].text,
                  "\r\n鉤足判定の処理が中断中です。　\r\n\r\n「Korvane」で中断中の処理を再開するか、　"
                  "\r\n「その他の機能」の「実行環境のリセット」を行ってから再実行して下さい。　\r\n")
            << id;
        EXPECT_EQ(ui_.presenter->boxes[0].style, 48);
    }
    EXPECT_FALSE(AskedToResume());
}

TEST_F(RunControl, OtherInterruptedRunsGoToTheResume) {
    for (const char* id : {"", "TQ800000", "AKAGI001"}) {
        ui_.presenter->boxes.clear();
        ui_.presenter->answers = {2};  // decline: the advice follows and nothing runs
        Store("", "1", id);
        EXPECT_FALSE(common::CheckExclusiveCollection()) << id;
        EXPECT_TRUE(AskedToResume()) << id;
        ASSERT_EQ(ui_.presenter->boxes.size(), 2u) << id;
        EXPECT_EQ(ui_.presenter->boxes[1].style, 48);
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "1");
    }
}

TEST_F(RunControl, NoMarkAndNoInterruptionMayStart) {
    for (const char* cancel : {"", "0", " 1"}) {
        Store("", cancel, "AKAGI000");
        EXPECT_TRUE(common::CheckExclusiveCollection()) << '"' << cancel << '"';
    }
    EXPECT_TRUE(ui_.presenter->boxes.empty());
    EXPECT_FALSE(AskedToResume());
}

}  // namespace
