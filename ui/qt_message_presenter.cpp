#include "ui/qt_message_presenter.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <map>

#include "common/message_buttons.h"
#include "common/message_style.h"
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

}  // namespace

int QtMessagePresenter::Show(const std::string& text, int style, const std::string& caption) {
    QMessageBox box(IconOfStyle(style), ToQt(caption), ToQt(text).replace("\r\n", "\n"));
    std::map<QAbstractButton*, int> results;
    for (int button : common::ButtonsOfStyle(style)) {
        results[box.addButton(QtButton(button))] = button;
    }
    box.setDefaultButton(QtButton(common::DefaultButtonOfStyle(style)));
    box.setEscapeButton(box.button(QtButton(common::EscapeButtonOfStyle(style))));
    box.exec();
    const auto pressed = results.find(box.clickedButton());
    return pressed != results.end() ? pressed->second : common::EscapeButtonOfStyle(style);
}

}  // namespace ui
