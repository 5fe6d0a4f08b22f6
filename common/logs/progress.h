#pragma once
#include <string>

namespace common {

class ProgressView;

// State of a progress display, kept by the caller of a long run.
struct MSGRec {
    bool DisplayOn = false;
    bool ButtonsOn = false;
    std::string Caption;
    std::string LabelText1;
    std::string LabelText2;
    std::string LabelText3;
    std::string LabelText4;
    ProgressView* ProgressForm = nullptr;  // the dialog shown; null shows nothing
    long lngDenominator = 0;
    long lngNumerator = 0;
    long ProgressStride = 0;  // records between two redraws, for the readers that take it from here
    long StagesDone = 0;
    long StageCount = 0;
    double ValueScale = 0;  // 0 counts as 1
};

// Refresh the display from the record (when DisplayOn) and yield to the event
// loop once in every case.
//
// When DisplayOn is false, or ProgressForm is null, the form is not touched
// at all; the yield (Ui().pump->ProcessEvents()) still happens. Otherwise the
// form gets, in this order: SetBar, SetButtonsVisible(ButtonsOn),
// SetCaption(Caption) and SetLabel(LabelText1 + LabelText2 + LabelText3 +
// LabelText4).
//
// ShowProgress: Max = lngDenominator when above 0, else 1; Value = the
// smaller of lngNumerator and lngDenominator times ValueScale (0 counts as
// 1), rounded half to even and held within 0..Max (a ValueScale above 1 can
// no longer push it past Max).
//
// ShowStagedProgress: the bar counts stages. d = AtLeastOne(lngDenominator),
// n = AtLeastOne(lngNumerator), d raised to n when below it; the stages
// reached are StagesDone + n / d, at most AtLeastOne(StageCount). As
// ProgressView takes whole numbers, both ends are given in thousandths of a
// stage: Max = AtLeastOne(StageCount) x 1000 and Value = the stages reached
// x 1000, rounded half to even (StageCount 4, StagesDone 1, 1 of 4 done:
// SetBar(4000, 1250)).
void ShowProgress(MSGRec& msg);
void ShowStagedProgress(MSGRec& msg);

// n when above 0, else 1.
long AtLeastOne(long n);
// Refresh interval for a count n: 1 up to 10, 10 up to 100, 100 above.
long ProgressStep(long n);

}  // namespace common
