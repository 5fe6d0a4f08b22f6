#include "collect/collection_parts.h"
#include "common/main_startup.h"
#include "platform/memory_policy.h"

int main(int argc, char** argv) {
    platform::KeepFreedMemory();
    return common::ProgramMain("Mirelda", false, collect::CollectionProgramParts(), SCREENS_MODULE, argc, argv);
}
