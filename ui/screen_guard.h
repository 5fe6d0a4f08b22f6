#pragma once
#include <functional>

class QWidget;

namespace ui {

// Runs a screen handler under the program-wide busy flag: a click that
// arrives while another guarded action runs is ignored, and the flag is
// cleared however the work ends. A run-time error is reported (RunHandler)
// and the screen stays usable.
void RunGuarded(const char* procedureId, const std::function<void()>& work, const char* abendLogName = nullptr);

// Keeps `widget` disabled while a run pumps events, and enabled and focused
// again however the run ends.
class ScreenDisabled {
public:
    explicit ScreenDisabled(QWidget& widget);
    ~ScreenDisabled();
    ScreenDisabled(const ScreenDisabled&) = delete;
    ScreenDisabled& operator=(const ScreenDisabled&) = delete;

private:
    QWidget& widget_;
};

}  // namespace ui
