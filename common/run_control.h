#pragma once

namespace common {

// Every handler that starts work calls this first and does nothing on false:
// a second click while the first handler still pumps events is ignored. The
// handler clears State().busy itself when its work is done.
bool TryEnterBusy();

// Whether the collection program may start a run now. While another run is
// marked, or an interrupted run is recorded, it tells the user (or resumes the
// interrupted run) and returns false.
bool CheckExclusiveCollection();

}  // namespace common
