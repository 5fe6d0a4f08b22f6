#pragma once
#include <string>

#include "common/startup/program_parts.h"

namespace common {

// The start of both programs. With command-line words the process is a child
// copy of a split run: it checks the words, reads its task and hands over to
// the program's child dispatcher. Without words it is the user's program: it
// writes the defaults on the first run, refuses a second running copy, notes
// two file dates and calls the program's interactive start.
void Main();

// The whole of an executable's main after its memory policy: a child copy of
// a split run (its first command-line word is the child-mode token) runs Main
// on the core alone, with no window system behind it; the user's copy runs
// the program's screens module, which brings Qt.
int ProgramMain(const std::string& programTitle, bool isKorvane, ProgramParts parts,
                const std::string& screensModule, int argc, char** argv);

}  // namespace common
