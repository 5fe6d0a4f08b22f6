#include "ui/qt_message_presenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <map>

#include "common/logs/message_buttons.h"
#include "common/logs/message_style.h"
#include "common/screens/scripted_presenter.h"
#include "ui/qt_text.h"

namespace ui {

namespace {

QMessageBox::Icon IconOfStyle(int style) {
    switch (style & common::msg_style::kIconMask) {
        case common::msg_style::kCritical: return QMessageBox::Critical;
        case common::msg_style::kQuestion: return QMessageBox::Question;
        case common::msg_style::kExclamation: return QMessageBox::Warning;
        case common::msg_style::kInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

}  // namespace

QMessageBox::StandardButton QtButton(int button) {
    using namespace common::msg_result;
    switch (button) {
        case kCancel: return QMessageBox::Cancel;
        case kAbort: return QMessageBox::Abort;
        case kRetry: return QMessageBox::Retry;
        case kIgnore: return QMessageBox::Ignore;
        case kYes: return QMessageBox::Yes;
        case kNo: return QMessageBox::No;
        default: return QMessageBox::Ok;
    }
}

int QtMessagePresenter::Show(const std::string& text, int style, const std::string& caption) {
    common::AppendBoxLog(log_, style, text);
    QMessageBox box(IconOfStyle(style), ToQt(caption), ToQt(text).replace("\r\n", "\n"));
    std::map<QAbstractButton*, int> results;
    for (int button : common::ButtonsOfStyle(style)) {
        results[box.addButton(QtButton(button))] = button;
    }
    box.setDefaultButton(QtButton(common::DefaultButtonOfStyle(style)));
    box.setEscapeButton(box.button(QtButton(common::EscapeButtonOfStyle(style))));
    // Closing the box gives the activation back to the window it came from,
    // as a window manager would: without it (no window manager, or none that
    // does) the window takes no focus changes, so a box left by the keyboard
    // after a warning would never be checked or stored.
    const QPointer<QWidget> active = QApplication::activeWindow();
    box.exec();
    if (active != nullptr && active->isVisible()) active->activateWindow();
    const auto pressed = results.find(box.clickedButton());
    return pressed != results.end() ? pressed->second : common::EscapeButtonOfStyle(style);
}

}  // namespace ui
