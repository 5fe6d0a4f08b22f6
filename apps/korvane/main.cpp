#include <QApplication>

#include "analysis/analysis_parts.h"
#include "analyzer_ui/ksen_menu.h"
#include "ui/program_shell.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return ui::RunProgramShell(app, "Korvane", true, analysis::AnalysisProgramParts(),
                               [](ui::MainWindow& window) { analyzer_ui::KsenMenu(window); });
}
