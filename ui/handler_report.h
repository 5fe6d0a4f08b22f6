#pragma once
#include <functional>

namespace ui {

// Runs the work of a screen handler. A trapped run-time error is written to
// the error log and shown to the user, as the program reports every error of
// its handlers, and the screen stays usable: it never escapes into the event
// loop. With `abendLogName`, the error also writes the run-log line of an
// abnormal end under that name, so that the run log tells what happened.
void RunHandler(const char* procedureId, const std::function<void()>& work, const char* abendLogName = nullptr);

// The same for the program's start and end, which cannot go on after an
// error: once it is reported, the program ends.
void RunEndingHandler(const char* procedureId, const std::function<void()>& work);

}  // namespace ui
