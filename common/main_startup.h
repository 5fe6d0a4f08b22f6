#pragma once
#include <string>

#include "common/program_parts.h"

namespace common {

// The start of both programs. With command-line words the process is a child
// copy of a split run: it checks the words, reads its task and hands over to
// the program's child dispatcher. Without words it is the user's program: it
// writes the defaults on the first run, refuses a second running copy, notes
// two file dates and calls the program's interactive start.
void Main();

// Whether the process was started as a child copy of a split run: its first
// command-line word is the child-mode token.
bool IsChildCommandLine(int argc, const char* const* argv);

// The whole life of a child copy: the program's values, its parts and Main,
// with no window system behind them.
int RunChildCopy(const std::string& programTitle, bool isKorvane, int argc, const char* const* argv,
                 ProgramParts parts);

}  // namespace common
