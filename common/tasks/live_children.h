#pragma once
#include <sys/types.h>

namespace common {

// The child copies of split runs that still run, kept in the run state so
// that an emergency stop can end them with the program.

void NoteLiveChild(pid_t child);

// Reaps the child when it has ended (then it is no longer live); true then.
bool ReapIfEnded(pid_t child);

// Kills every live child and reaps it, so that none works on after the
// environment reset has removed its files.
void KillLiveChildren();

}  // namespace common
