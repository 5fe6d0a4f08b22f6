#include "ui/screen_guard.h"

#include <QWidget>

#include "ui/busy_guard.h"
#include "ui/handler_report.h"

namespace ui {

void RunGuarded(const char* procedureId, const std::function<void()>& work, const char* abendLogName) {
    const BusyGuard busy;
    if (!busy.entered()) return;
    RunHandler(procedureId, work, abendLogName);
}

ScreenDisabled::ScreenDisabled(QWidget& widget) : widget_(widget) { widget_.setEnabled(false); }

ScreenDisabled::~ScreenDisabled() {
    widget_.setEnabled(true);
    widget_.setFocus();
}

}  // namespace ui
