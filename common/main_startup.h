#pragma once

namespace common {

// The start of both programs. With command-line words the process is a child
// copy of a split run: it checks the words, reads its task and hands over to
// the program's child dispatcher. Without words it is the user's program: it
// writes the defaults on the first run, refuses a second running copy, notes
// two file dates and calls the program's interactive start.
void Main();

}  // namespace common
