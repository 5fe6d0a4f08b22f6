#include "common/logs/progress.h"

#include <cmath>
#include <limits>

#include "common/screens/ui_seam.h"

namespace common {
namespace {

// The staged bar counts stages in steps of 1/kStageSteps, because ProgressView
// takes whole numbers: Max = stages × kStageSteps, Value = the stage count
// reached (a fraction) × kStageSteps, so the bar shows the same share.
constexpr long kStageSteps = 1000;

// `value` rounded half to even and held within 0..max (NaN counts as 0).
long BarValue(double value, long max) {
    if (!(value > 0)) return 0;
    if (value >= static_cast<double>(max)) return max;
    const long rounded = static_cast<long>(std::nearbyint(value));
    return rounded < max ? rounded : max;
}

long Scaled(long count, long factor) {
    if (count > std::numeric_limits<long>::max() / factor) return std::numeric_limits<long>::max();
    return count * factor;
}

void ShowOnForm(const MSGRec& msg, long max, long value) {
    ProgressView& form = *msg.ProgressForm;
    form.SetBar(max, value);
    form.SetButtonsVisible(msg.ButtonsOn);
    form.SetCaption(msg.Caption);
    form.SetLabel(msg.LabelText1 + msg.LabelText2 + msg.LabelText3 + msg.LabelText4);
}

}  // namespace

void ShowProgress(MSGRec& msg) {
    if (msg.DisplayOn && msg.ProgressForm != nullptr) {
        const long max = msg.lngDenominator > 0 ? msg.lngDenominator : 1;
        const long done = msg.lngNumerator < msg.lngDenominator ? msg.lngNumerator : msg.lngDenominator;
        const double scale = msg.ValueScale == 0 ? 1.0 : msg.ValueScale;
        ShowOnForm(msg, max, BarValue(static_cast<double>(done) * scale, max));
    }
    Ui().pump->ProcessEvents();
}

void ShowStagedProgress(MSGRec& msg) {
    if (msg.DisplayOn && msg.ProgressForm != nullptr) {
        const long stages = AtLeastOne(msg.StageCount);
        long d = AtLeastOne(msg.lngDenominator);
        const long n = AtLeastOne(msg.lngNumerator);
        if (d < n) d = n;
        const double reached = static_cast<double>(msg.StagesDone) + static_cast<double>(n) / static_cast<double>(d);
        const double shown = reached < static_cast<double>(stages) ? reached : static_cast<double>(stages);
        const long max = Scaled(stages, kStageSteps);
        ShowOnForm(msg, max, BarValue(shown * kStageSteps, max));
    }
    Ui().pump->ProcessEvents();
}

long AtLeastOne(long n) { return n > 0 ? n : 1; }

long ProgressStep(long n) {
    if (n <= 10) return 1;
    if (n <= 100) return 10;
    return 100;
}

}  // namespace common
