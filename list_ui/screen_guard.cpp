#include "list_ui/screen_guard.h"

#include <QWidget>

#include "ui/busy_guard.h"
#include "ui/handler_report.h"

namespace list_ui {

void RunGuarded(const char* procedureId, const std::function<void()>& work) {
    const ui::BusyGuard busy;
    if (!busy.entered()) return;
    ui::RunHandler(procedureId, work);
}

ScreenDisabled::ScreenDisabled(QWidget& widget) : widget_(widget) { widget_.setEnabled(false); }

ScreenDisabled::~ScreenDisabled() {
    widget_.setEnabled(true);
    widget_.setFocus();
}

}  // namespace list_ui
