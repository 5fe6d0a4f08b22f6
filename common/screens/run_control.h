#pragma once

namespace common {

// Every handler that starts work calls this first and does nothing on false:
// a second click while the first handler still pumps events is ignored. The
// handler clears State().busy itself when its work is done.
bool TryEnterBusy();

// Whether a run of Korvane (`korvane`) or Mirelda may start now. While a run
// of either program is marked, or an interrupted run is recorded, it tells the
// user (or offers to resume the interrupted run when it is this program's
// own) and returns false.
bool CheckExclusiveStart(bool korvane);

// CheckExclusiveStart for the collection program.
bool CheckExclusiveCollection();

// The run mark of this program ("1" Mirelda, "2" Korvane).
const char* OwnRunMark();

// At the user's start: this program's own mark is stale (its instance lock,
// held now, proves no run of it is alive), so it is cleared and the run it
// names counts as interrupted; the other program's mark stays.
void ClearOwnRunMark();

// Whether the other program runs now (it holds its instance lock); when it
// does, the user is told with the busy text of its mark.
bool WarnWhileOtherProgramRuns();

}  // namespace common
