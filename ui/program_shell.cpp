#include "ui/program_shell.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

namespace ui {

int RunProgramShell(QApplication& app, const std::string& programName) {
    QMainWindow window;
    window.setObjectName("frmMain");
    window.setWindowTitle(QString::fromStdString(programName));
    window.setCentralWidget(new QMdiArea(&window));
    window.show();
    return app.exec();
}

}  // namespace ui
