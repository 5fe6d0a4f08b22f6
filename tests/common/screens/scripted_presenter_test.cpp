#include "common/screens/scripted_presenter.h"

#include <gtest/gtest.h>

#include "common/logs/message_style.h"
#include "common/screens/ui_seam.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace common::msg_result;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

TEST(ScriptedPresenter, AnswersInOrderThenDefaultButton) {
    testsupport::TempDir dir;
    WriteBytes(dir.path() / "script.txt", "Cancel\r\nYes\r\n\r\n OK \nNo\n");
    common::ScriptedPresenter presenter(dir.path() / "script.txt", dir.path() / "boxes.log");

    EXPECT_EQ(presenter.Show("a", 33, "Mirelda"), kCancel);
    // "Yes" is not a button of an OK/Cancel box: the default button answers.
    EXPECT_EQ(presenter.Show("b", 49, "Mirelda"), kOk);
    EXPECT_EQ(presenter.Show("c", 33, "Mirelda"), kOk);
    EXPECT_EQ(presenter.Show("d", 4 + 32, "Mirelda"), kNo);
    // Script exhausted.
    EXPECT_EQ(presenter.Show("e", 33 + 256, "Mirelda"), kCancel);
    EXPECT_EQ(presenter.Show("f", 16, "Mirelda"), kOk);
}

TEST(ScriptedPresenter, LogsEveryBoxWithLineBreaksEscaped) {
    testsupport::TempDir dir;
    WriteBytes(dir.path() / "script.txt", "");
    common::ScriptedPresenter presenter(dir.path() / "script.txt", dir.path() / "boxes.log");
    presenter.Show("フォルダ名にブランク文字が含まれています。　\r\n次の行\r\n", 48, "Mirelda");
    presenter.Show("a,b\tc", 0, "Mirelda");

    EXPECT_EQ(ReadBytes(dir.path() / "boxes.log"),
              "48\tフォルダ名にブランク文字が含まれています。　\\r\\n次の行\\r\\n\n"
              "0\ta,b\tc\n");
}

TEST(ScriptedPresenter, ChosenByEnvironment) {
    testsupport::TempDir dir;
    {
        testsupport::ScopedEnv script("MIR_MSGBOX_SCRIPT", std::nullopt);
        EXPECT_EQ(common::ScriptedPresenterFromEnvironment(), nullptr);
    }
    WriteBytes(dir.path() / "script.txt", "Cancel\n");
    testsupport::ScopedEnv script("MIR_MSGBOX_SCRIPT", (dir.path() / "script.txt").string());
    testsupport::ScopedEnv log("MIR_MSGBOX_LOG", (dir.path() / "boxes.log").string());
    auto presenter = common::ScriptedPresenterFromEnvironment();
    ASSERT_NE(presenter, nullptr);
    EXPECT_EQ(presenter->Show("x", 49, "Korvane"), kCancel);
    EXPECT_EQ(ReadBytes(dir.path() / "boxes.log"), "49\tx\n");
}

TEST(UiSeam, UnattendedDefaultsNeverWait) {
    common::InstallUi({});
    const common::UiServices& ui = common::Ui();
    EXPECT_EQ(ui.presenter->Show("?", 33 + 256, "t"), kCancel);
    common::ProgressView& view = ui.progress->Show("FormProgress1");
    view.SetBar(10, 5);
    EXPECT_EQ(&ui.progress->Show("FormProgress1"), &view);
    ui.progress->Unload("FormProgress1");
    ui.pump->ProcessEvents();
    ui.mainWindow->SetMainWindowVisible(false);
}

TEST(UiSeam, InstalledServiceReplacesDefaultAndNullKeepsIt) {
    struct Fixed : common::MessagePresenter {
        int Show(const std::string&, int, const std::string&) override { return kNo; }
    };
    common::InstallUi({std::make_shared<Fixed>(), nullptr, nullptr, nullptr, nullptr});
    EXPECT_EQ(common::Ui().presenter->Show("?", 4, "t"), kNo);
    EXPECT_NE(common::Ui().pump, nullptr);
    common::InstallUi({});
    EXPECT_EQ(common::Ui().presenter->Show("?", 4, "t"), kYes);
}

}  // namespace

namespace {

TEST(UiSeamDeathTest, UnattendedEndProgramEndsTheProcess) {
    common::InstallUi({});
    EXPECT_EXIT(common::Ui().programEnd->EndProgram(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
