#include "common/startup/program_parts.h"

#include <utility>

namespace common {

namespace {
ProgramParts& Installed() {
    static ProgramParts parts;
    return parts;
}
}  // namespace

void InstallProgramParts(ProgramParts parts) { Installed() = std::move(parts); }

const ProgramParts& Parts() { return Installed(); }

}  // namespace common
