#include "collect/child/collection_parts.h"
#include "common/startup/main_startup.h"
#include "platform/memory_policy.h"

int main(int argc, char** argv) {
    platform::KeepFreedMemory();
    return common::ProgramMain("Mirelda", false, collect::CollectionProgramParts(), SCREENS_MODULE, argc, argv);
}
