#include "collect/child/collection_parts.h"
#include "collector_ui/collector_menu.h"
#include "ui/main_window.h"
#include "ui/program_shell.h"

// The entry the executable looks up by name (platform::kScreensEntryName).
extern "C" int MirRunScreens(int argc, char** argv) {
    return ui::RunProgramShell(argc, argv, "Mirelda", false, collect::CollectionProgramParts(),
                               [](ui::MainWindow& window) { collector_ui::HpGtMenu(window); });
}
