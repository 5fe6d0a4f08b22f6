#include "ui/program_close.h"

#include <QCloseEvent>
#include <QWidget>

namespace ui {

namespace {
constexpr const char* kClosingByProgram = "mirClosingByProgram";
}

void CloseByProgram(QWidget* widget) {
    widget->setProperty(kClosingByProgram, true);
    widget->close();
}

bool AcceptOnlyProgramClose(QWidget* widget, QCloseEvent* event) {
    const bool allowed = widget->property(kClosingByProgram).toBool();
    event->setAccepted(allowed);
    return allowed;
}

}  // namespace ui
