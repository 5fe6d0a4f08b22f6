#pragma once
#include <QString>
#include <span>
#include <string>

#include "common/settings/control_setting.h"

class QComboBox;
class QWidget;

namespace ui {

// Puts a form's controls back from their settings (table of the form); the
// stores are connected afterwards, so that a restore writes nothing back.
void RestoreControls(QWidget& form, std::span<const common::ControlSetting> table);

// Connects each control of the table to the store of its setting: check
// boxes and options on their change, texts on leaving the box or on every
// change as the table says. CountText controls are stored by their screen.
void ConnectStores(QWidget& form, std::span<const common::ControlSetting> table);

// The 1-based index of the chosen option `name`_k of the form, 0 for none.
int CheckedOption(const QWidget& form, const QString& name);
// Chooses option `name`_`index`.
void SelectOption(QWidget& form, const QString& name, int index);

// Selects the first entry equal to the text, searching from the first entry;
// no match leaves the selection as it is.
void SelectComboByText(const std::string& text, QComboBox& combo);
// The same with the trimmed setting, when it is not empty.
void SelectComboFromSetting(const std::string& path, QComboBox& combo);
// Entry number from the setting; entry 2 when it is empty, not a number or
// beyond the list.
void SetListIndexFromSetting(const std::string& path, QComboBox& combo);

}  // namespace ui
