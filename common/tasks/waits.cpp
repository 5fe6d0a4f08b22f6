#include "common/tasks/waits.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "platform/clock.h"
#include "platform/date.h"
#include "platform/number_format.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace common {
namespace {

constexpr long kWaitStepMs = 200;

float gWaitScale = 1.0f;

// The classic Long range, which Int(seconds) had to fit.
constexpr double kLongMin = -2147483648.0;
constexpr double kLongLimit = 2147483648.0;

long FloorDiv(long a, long b) {
    long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

std::string Fixed(std::string_view text, std::size_t width) { return platform::PadRightChars(text, width); }

}  // namespace

long WaitStepMilliseconds(float seconds) {
    const float ms = seconds * 1000.0f;
    if (!(ms < static_cast<float>(kWaitStepMs))) return kWaitStepMs;
    const float half = std::nearbyint(ms / 2.0f);  // default rounding: half to even
    return half > 0 ? static_cast<long>(half) : 0;
}

void SetWaitScaleForTests(float factor) { gWaitScale = factor; }

void WaitSeconds(float seconds) {
    seconds *= gWaitScale;
    if (!(seconds > 0)) return;
    const long step = WaitStepMilliseconds(seconds);
    const double end = platform::MonotonicSeconds() + static_cast<double>(seconds);
    while (!State().CancelRequested && platform::MonotonicSeconds() < end) {
        platform::SleepMilliseconds(step);
        Ui().pump->ProcessEvents();
    }
}

bool WaitForActivity(platform::ActivityWatch& watch, float seconds) {
    // Short slices keep the user interface served while the watch waits.
    constexpr double kSliceSeconds = 0.02;
    const bool cancelledBefore = State().CancelRequested;
    const double end = platform::MonotonicSeconds() + static_cast<double>(seconds);
    for (;;) {
        const double left = end - platform::MonotonicSeconds();
        if (!(left > 0)) return false;
        if (watch.Wait(static_cast<int>(std::ceil(std::min(left, kSliceSeconds) * 1000)))) return true;
        Ui().pump->ProcessEvents();
        if (State().CancelRequested && !cancelledBefore) return false;
    }
}

void SplitTimeOfDay(float seconds, TimeOfDayRec& out) {
    const double t = seconds;
    const double whole = std::floor(t);
    if (!(whole >= kLongMin && whole < kLongLimit)) {
        platform::RaiseError(platform::error_number::kOverflow, "SplitTimeOfDay");
    }
    TimeOfDayRec rec;
    rec.Seconds = seconds;
    rec.WholeSeconds = static_cast<long>(whole);
    rec.Hours = FloorDiv(rec.WholeSeconds, 3600);
    rec.Minutes = FloorDiv(rec.WholeSeconds - rec.Hours * 3600, 60);
    rec.Secs = rec.WholeSeconds - rec.Hours * 3600 - rec.Minutes * 60;
    rec.Millis = static_cast<long>(std::floor((t - whole) * 1000.0));
    rec.HH = Fixed(platform::FormatNumber(static_cast<double>(rec.Hours), "00"), 2);
    rec.MM = Fixed(platform::FormatNumber(static_cast<double>(rec.Minutes), "00"), 2);
    rec.SS = Fixed(platform::FormatNumber(static_cast<double>(rec.Secs), "00"), 2);
    rec.FFF = Fixed(platform::FormatNumber(static_cast<double>(rec.Millis), "000"), 3);
    rec.Text = Fixed(rec.HH + ":" + rec.MM + ":" + rec.SS + "." + rec.FFF, 12);
    out = std::move(rec);
}

std::string TimeOfDayText() {
    const double now = platform::SecondsSinceMidnight();
    float seconds = static_cast<float>(now);
    if (static_cast<double>(seconds) > now) seconds = std::nextafter(seconds, 0.0f);
    if (seconds < 0) seconds = 0;
    TimeOfDayRec rec;
    SplitTimeOfDay(seconds, rec);
    return rec.Text;
}

long ChunkCount(long rows, long parallelism) {
    if (parallelism < 1) parallelism = 1;
    if (rows < 1 || rows < parallelism) return 1;
    const double n = static_cast<double>(rows);
    double c = static_cast<double>(parallelism) * 200.0;
    for (int i = 1; i <= 200; ++i) {
        const double candidate = static_cast<double>(parallelism) * i;
        if (n / candidate <= 210.0) {
            c = candidate;
            break;
        }
    }
    return static_cast<long>(std::nearbyint(n / c + 0.9999));  // half to even
}

}  // namespace common
