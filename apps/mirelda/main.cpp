#include <QApplication>

#include "collect/collection_parts.h"
#include "ui/program_shell.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return ui::RunProgramShell(app, "Mirelda", false, collect::CollectionProgramParts());
}
