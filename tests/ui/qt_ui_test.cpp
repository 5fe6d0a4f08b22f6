#include <gtest/gtest.h>

#include <QApplication>
#include <QWindow>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"
#include "ui/main_window.h"
#include "ui/program_close.h"
#include "ui/progress_dialog.h"
#include "ui/qt_ui.h"

namespace {

TEST(QtUi, ProgressFormsCarryTheirControlsAndReflectTheView) {
    ui::MainWindow main("Korvane");
    ui::QtProgressForms forms;
    common::ProgressView& view = forms.Show("FormProgress1");
    auto* dialog = dynamic_cast<ui::ProgressDialog*>(&view);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), "FormProgress1");
    EXPECT_EQ(dialog->parentWidget(), &main);

    view.SetBar(0, 0);
    auto* bar = dialog->findChild<QProgressBar*>("ProgressBar1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->maximum(), 1);
    EXPECT_EQ(bar->value(), 0);
    view.SetBar(200, 300);
    EXPECT_EQ(bar->maximum(), 200);
    EXPECT_EQ(bar->value(), 200);

    view.SetCaption("株価時系列");
    view.SetLabel("処理中\r\n\r\n1/2");
    view.SetButtonsVisible(false);
    EXPECT_EQ(dialog->windowTitle(), QString("株価時系列"));
    EXPECT_EQ(dialog->findChild<QLabel*>("Label1")->text(), QString("処理中\n\n1/2"));
    EXPECT_FALSE(dialog->findChild<QPushButton*>("BtnCan")->isVisibleTo(dialog));
    EXPECT_FALSE(dialog->findChild<QPushButton*>("BtnEmg")->isVisibleTo(dialog));

    EXPECT_EQ(&forms.Show("FormProgress1"), &view);
    forms.Unload("FormProgress1");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_NE(&forms.Show("FormProgress1"), &view);
    forms.Unload("FormProgress1");
    QCoreApplication::processEvents();
}

TEST(QtUi, WindowManagerCloseIsRefusedProgrammaticCloseIsNot) {
    ui::MainWindow main("Mirelda");
    main.show();
    // A close through the platform window is what the window manager's close button does.
    ASSERT_NE(main.windowHandle(), nullptr);
    EXPECT_FALSE(main.windowHandle()->close());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(ui::FindMainWindow(), &main);

    ui::CloseByProgram(&main);
    EXPECT_FALSE(main.isVisible());
}

TEST(QtUi, InstallSetsTitleAndScriptedPresenterFromEnvironment) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.path() / "script.txt", "Cancel\n");
    testsupport::ScopedEnv script("MIR_MSGBOX_SCRIPT", (dir.path() / "script.txt").string());
    testsupport::ScopedEnv log("MIR_MSGBOX_LOG", (dir.path() / "boxes.log").string());
    ui::InstallQtUi("Korvane");
    EXPECT_EQ(common::State().programTitle, "Korvane");
    EXPECT_EQ(common::Ui().presenter->Show("キャンセルして宜しいでしょうか？　", 33, "Korvane"), 2);
    EXPECT_EQ(testsupport::ReadBytes(dir.path() / "boxes.log"), "33\tキャンセルして宜しいでしょうか？　\n");

    ui::MainWindow main("Korvane");
    main.show();
    common::Ui().mainWindow->SetMainWindowVisible(false);
    EXPECT_FALSE(main.isVisible());
    common::Ui().mainWindow->SetMainWindowVisible(true);
    EXPECT_TRUE(main.isVisible());
    common::InstallUi({});
}

}  // namespace
