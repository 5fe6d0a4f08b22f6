#include "analysis/analysis_parts.h"
#include "analyzer_ui/ksen_menu.h"
#include "ui/main_window.h"
#include "ui/program_shell.h"

// The entry the executable looks up by name (platform::kScreensEntryName).
extern "C" int MirRunScreens(int argc, char** argv) {
    return ui::RunProgramShell(argc, argv, "Korvane", true, analysis::AnalysisProgramParts(),
                               [](ui::MainWindow& window) { analyzer_ui::KsenMenu(window); });
}
