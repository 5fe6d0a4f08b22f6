#include "ui/form_controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "common/settings/settings.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"
#include "ui/qt_text.h"

namespace ui {

namespace {

QString OptionName(const QString& name, int index) { return name + "_" + QString::number(index); }

int OptionCount(const QWidget& form, const QString& name) {
    int count = 0;
    while (form.findChild<QRadioButton*>(OptionName(name, count + 1)) != nullptr) ++count;
    return count;
}

template <typename Widget>
Widget* Control(const QWidget& form, const common::ControlSetting& control) {
    return form.findChild<Widget*>(QString::fromUtf8(control.objectName));
}

}  // namespace

int CheckedOption(const QWidget& form, const QString& name) {
    for (int index = 1;; ++index) {
        const auto* option = form.findChild<QRadioButton*>(OptionName(name, index));
        if (option == nullptr) return 0;
        if (option->isChecked()) return index;
    }
}

void SelectOption(QWidget& form, const QString& name, int index) {
    if (auto* option = form.findChild<QRadioButton*>(OptionName(name, index))) option->setChecked(true);
}

void RestoreControls(QWidget& form, std::span<const common::ControlSetting> table) {
    using common::ControlKind;
    for (const common::ControlSetting& control : table) {
        switch (control.kind) {
            case ControlKind::CheckBox:
                if (auto* box = Control<QCheckBox>(form, control)) box->setChecked(common::CheckedFromSetting(control));
                break;
            case ControlKind::OptionGroup: {
                const QString name = QString::fromUtf8(control.objectName);
                SelectOption(form, name, common::OptionFromSetting(control, OptionCount(form, name)));
                break;
            }
            case ControlKind::TextOnLeave:
            case ControlKind::TextOnChange:
                if (auto* box = Control<QLineEdit>(form, control)) box->setText(ToQt(common::TextFromSetting(control)));
                break;
            case ControlKind::CountText: break;
        }
    }
}

void ConnectStores(QWidget& form, std::span<const common::ControlSetting> table) {
    using common::ControlKind;
    for (const common::ControlSetting& control : table) {
        const std::string path = common::SettingPathOf(control);
        switch (control.kind) {
            case ControlKind::CheckBox:
                if (auto* box = Control<QCheckBox>(form, control)) {
                    QObject::connect(box, &QCheckBox::toggled, box,
                                     [path](bool on) { common::WriteSetting(path, on ? "1" : "0"); });
                }
                break;
            case ControlKind::OptionGroup: {
                const QString name = QString::fromUtf8(control.objectName);
                for (int index = 1; index <= OptionCount(form, name); ++index) {
                    auto* option = form.findChild<QRadioButton*>(OptionName(name, index));
                    QObject::connect(option, &QRadioButton::toggled, option, [path, index](bool on) {
                        if (on) common::WriteSetting(path, std::to_string(index));
                    });
                }
                break;
            }
            case ControlKind::TextOnLeave:
                if (auto* box = Control<QLineEdit>(form, control)) {
                    QObject::connect(box, &QLineEdit::editingFinished, box,
                                     [path, box] { common::WriteSetting(path, FromQt(box->text())); });
                }
                break;
            case ControlKind::TextOnChange:
                if (auto* box = Control<QLineEdit>(form, control)) {
                    QObject::connect(box, &QLineEdit::textChanged, box,
                                     [path](const QString& text) { common::WriteSetting(path, FromQt(text)); });
                }
                break;
            case ControlKind::CountText: break;
        }
    }
}

void SelectComboByText(const std::string& text, QComboBox& combo) {
    const int found = combo.findText(ToQt(text), Qt::MatchExactly);
    if (found >= 0) combo.setCurrentIndex(found);
}

void SelectComboFromSetting(const std::string& path, QComboBox& combo) {
    const std::string text = platform::TrimBlanks(common::ReadSetting(path));
    if (!text.empty()) SelectComboByText(text, combo);
}

void SetListIndexFromSetting(const std::string& path, QComboBox& combo) {
    const std::string text = platform::TrimBlanks(common::ReadSetting(path));
    const int index = platform::IsNumericText(text) ? common::ReadSettingLong(path) : 2;
    combo.setCurrentIndex(index >= 0 && index < combo.count() ? index : 2);
}

}  // namespace ui
