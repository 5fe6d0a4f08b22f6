#include "ui/program_shell.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>

#include "common/run_state.h"
#include "common/startup/main_startup.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/qt_ui.h"
#include "ui/termination_signal.h"
#include "ui/ui_script.h"

namespace ui {

int RunProgramShell(int& argc, char** argv, const std::string& programName, bool isKorvane,
                    common::ProgramParts parts, std::function<void(MainWindow&)> buildScreens) {
    QApplication app(argc, argv);
    // The program ends only through its own end paths. Qt's default would also
    // end it when a message box closes while a run hides the main window.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallQtUi(programName);
    QuitOnTerminationSignal(app);
    common::RunState& state = common::State();
    state.isKorvane = isKorvane;
    QStringList words = app.arguments();
    words.removeFirst();
    state.commandLine = FromQt(words.join(' '));

    MainWindow window(ToQt(programName));
    bool interactive = false;
    parts.interactiveStart = [&] {
        interactive = true;
        if (buildScreens) {
            buildScreens(window);
        } else {
            window.show();
        }
        common::State().StartingUp = false;
        QTimer::singleShot(0, &window, [] { RunUiScriptFromEnvironment(); });
    };
    common::InstallProgramParts(std::move(parts));
    common::Main();
    return interactive ? app.exec() : 0;
}

}  // namespace ui
