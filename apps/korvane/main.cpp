#include "analysis/analysis_parts.h"
#include "analyzer_ui/ksen_menu.h"
#include "platform/memory_policy.h"
#include "ui/program_shell.h"

int main(int argc, char** argv) {
    platform::KeepFreedMemory();
    return ui::RunProgramShell(argc, argv, "Korvane", true, analysis::AnalysisProgramParts(),
                               [](ui::MainWindow& window) { analyzer_ui::KsenMenu(window); });
}
