#include "collect/collection_parts.h"
#include "collector_ui/collector_menu.h"
#include "platform/memory_policy.h"
#include "ui/main_window.h"
#include "ui/program_shell.h"

int main(int argc, char** argv) {
    platform::KeepFreedMemory();
    return ui::RunProgramShell(argc, argv, "Mirelda", false, collect::CollectionProgramParts(),
                               [](ui::MainWindow& window) { collector_ui::HpGtMenu(window); });
}
