#pragma once

namespace platform {

// Seconds on a clock that never steps back; only differences mean anything.
double MonotonicSeconds();

// Sleeps `milliseconds`; 0 (or less) only yields the processor to other threads.
void SleepMilliseconds(long milliseconds);

}  // namespace platform
