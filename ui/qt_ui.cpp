#include "ui/qt_ui.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "common/run_state.h"
#include "common/screens/scripted_presenter.h"
#include "common/screens/ui_seam.h"
#include "ui/main_window.h"
#include "ui/program_close.h"
#include "ui/progress_dialog.h"
#include "ui/qt_message_presenter.h"

namespace ui {

namespace {

class QtEventPump : public common::EventPump {
public:
    void ProcessEvents() override { QCoreApplication::processEvents(); }
};

class QtMainWindowControl : public common::MainWindowControl {
public:
    void SetMainWindowVisible(bool visible) override {
        if (QWidget* window = FindMainWindow()) {
            window->setVisible(visible);
        }
    }
};

class QtProgramEnd : public common::ProgramEnd {
public:
    [[noreturn]] void EndProgram() override {
        // Screens and dialogs first, the main window last.
        QWidget* main = FindMainWindow();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget != main) {
                CloseByProgram(widget);
            }
        }
        if (main != nullptr) {
            CloseByProgram(main);
        }
        std::fflush(nullptr);
        std::exit(0);
    }
};

}  // namespace

void InstallQtUi(const std::string& programTitle) {
    common::State().programTitle = programTitle;
    std::shared_ptr<common::MessagePresenter> presenter = common::ScriptedPresenterFromEnvironment();
    if (!presenter) {
        presenter = std::make_shared<QtMessagePresenter>(common::BoxLogFromEnvironment());
    }
    common::InstallUi({presenter, std::make_shared<QtProgressForms>(), std::make_shared<QtEventPump>(),
                       std::make_shared<QtMainWindowControl>(), std::make_shared<QtProgramEnd>()});
}

}  // namespace ui
