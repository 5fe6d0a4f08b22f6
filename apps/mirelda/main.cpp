#include "collect/collection_parts.h"
#include "common/main_startup.h"
#include "platform/memory_policy.h"
#include "platform/screens_module.h"

int main(int argc, char** argv) {
    platform::KeepFreedMemory();
    if (common::IsChildCommandLine(argc, argv)) {
        return common::RunChildCopy("Mirelda", false, argc, argv, collect::CollectionProgramParts());
    }
    return platform::RunScreensModule(SCREENS_MODULE, argc, argv);
}
