#pragma once
#include <string>

#include "platform/activity_watch.h"

namespace common {

// The cooperative wait: returns after `seconds`, or sooner as soon as
// State().CancelRequested is set (it is checked before every step, so a wait
// started with the flag set returns at once). The flag is only read, never
// cleared. Each step sleeps (platform::SleepMilliseconds) and then serves the
// user interface once (Ui().pump->ProcessEvents()), where a cancel handler
// may set the flag. A wait of 0 seconds or less (or NaN) returns at once
// without serving the interface; an infinite one lasts until the cancel.
//
// Deviation from the classic routine: the time is measured on the monotonic
// clock (platform::MonotonicSeconds), so a wait runs its full length across
// midnight instead of ending there, and a change of the wall clock does not
// shorten or stretch it.
void WaitSeconds(float seconds);

// Tests only: every WaitSeconds lasts `factor` times the length asked for
// (1 unless set), so that a test of a pacing rule keeps the rule's shape
// without its full duration.
void SetWaitScaleForTests(float factor);

// Waits like WaitSeconds for at most `seconds`, but returns true as soon as
// `watch` sees activity. A cancel ends it only when the flag is set during
// the wait, so that a caller that goes on after a cancel is still paced by it.
bool WaitForActivity(platform::ActivityWatch& watch, float seconds);

// The step of WaitSeconds: 200 ms, or, when seconds × 1000 is below 200,
// seconds × 1000 / 2 rounded half to even (computed in float, as the classic
// Single arithmetic); 0 means a bare yield of the processor.
// 0.1 -> 50, 0.199 -> 100 (99.5), 0.001 -> 0 (0.5), 0.003 -> 2 (1.5).
long WaitStepMilliseconds(float seconds);

// A time of day split for log lines; filled by SplitTimeOfDay.
struct TimeOfDayRec {
    float Seconds = 0;      // seconds since midnight
    long WholeSeconds = 0;  // Int(Seconds)
    long Hours = 0;
    long Minutes = 0;
    long Secs = 0;
    long Millis = 0;
    std::string HH;    // 2 characters
    std::string MM;    // 2 characters
    std::string SS;    // 2 characters
    std::string FFF;   // 3 characters
    std::string Text;  // 12 characters: HH:MM:SS.FFF
};

// Splits seconds since midnight: 47107.25 gives 13, 5, 7, 250 and
// "13:05:07.250". The texts are fixed-width as in the classic record (cut or
// padded with blanks; only values outside a day can need it). A value that is
// NaN or too large for a long raises overflow (error 6).
void SplitTimeOfDay(float seconds, TimeOfDayRec& out);

// The 12-character Text of the current time of day (platform::
// SecondsSinceMidnight, taken as a float that is never above the clock, so
// 23:59:59.999 cannot show as 24:00:00.000).
std::string TimeOfDayText();

// Rows per part of a split run of `rows` rows over `parallelism` tasks:
// parallelism below 1 counts as 1; rows < 1 or rows < parallelism gives 1.
// Otherwise c = parallelism × i for the first i in 1..200 with rows / c <= 210
// (else i = 200), and the result is rows / c + 0.9999 rounded half to even,
// which is not the plain ceiling: (1000, 2) -> 168; (420, 2) -> 211;
// (10, 2) -> 6 (exact quotient 5 gives 6).
long ChunkCount(long rows, long parallelism);

}  // namespace common
