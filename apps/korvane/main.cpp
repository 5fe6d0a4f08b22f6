#include "analysis/analysis_parts.h"
#include "common/startup/main_startup.h"
#include "platform/memory_policy.h"

int main(int argc, char** argv) {
    platform::KeepFreedMemory();
    return common::ProgramMain("Korvane", true, analysis::AnalysisProgramParts(), SCREENS_MODULE, argc, argv);
}
