#include "ui/program_shell.h"

#include <QApplication>

#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/qt_ui.h"
#include "ui/termination_signal.h"

namespace ui {

int RunProgramShell(QApplication& app, const std::string& programName) {
    InstallQtUi(programName);
    QuitOnTerminationSignal(app);
    MainWindow window(ToQt(programName));
    window.show();
    return app.exec();
}

}  // namespace ui
