#pragma once
#include <string>

namespace platform {

// The name under which a screens module offers its entry:
// `extern "C" int <name>(int argc, char** argv)`.
inline constexpr const char* kScreensEntryName = "MirRunScreens";

// Loads the screens module `moduleFile` (a bare file name is looked for along
// the executable's library path) and runs its entry with the command line.
// The window system's libraries come with the module, so a copy of a program
// that shows no screen never loads them. A module that cannot be loaded or has
// no entry is reported on standard error and gives 1.
int RunScreensModule(const std::string& moduleFile, int argc, char** argv);

}  // namespace platform
