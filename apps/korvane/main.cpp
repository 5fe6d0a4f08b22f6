#include <QApplication>

#include "analysis/analysis_parts.h"
#include "analyzer_ui/ksen_menu.h"
#include "platform/memory_policy.h"
#include "ui/program_shell.h"

int main(int argc, char** argv) {
    platform::KeepFreedMemory();
    QApplication app(argc, argv);
    return ui::RunProgramShell(app, "Korvane", true, analysis::AnalysisProgramParts(),
                               [](ui::MainWindow& window) { analyzer_ui::KsenMenu(window); });
}
