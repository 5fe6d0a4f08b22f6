#pragma once
#include <string>

namespace common {

// How a screen control holds its setting.
enum class ControlKind {
    CheckBox,      // "1" or "0"
    OptionGroup,   // the 1-based index of the chosen option, object names Name_1..Name_n
    TextOnLeave,   // the text, stored when the user leaves the box
    TextOnChange,  // the text, stored on every change
    CountText,     // a checked count, stored by the screen's own check
};

// One control of a form and the setting behind it: restored from it at
// start and stored into it on change. Index 0: the path is the key itself;
// otherwise the key followed by the index as two digits.
struct ControlSetting {
    const char* objectName;
    ControlKind kind;
    const char* path;
    int index;
    const char* defaultValue;
};

std::string SettingPathOf(const ControlSetting& control);

// A check box's state from its setting: 1 or 0; any other stored value gives
// the default (and is logged once).
bool CheckedFromSetting(const ControlSetting& control);

// The option to choose from the setting: 1 when it is 0 or less (or not a
// number); one beyond the `count` options gives the default (logged once),
// so that a damaged group file cannot stop every start.
int OptionFromSetting(const ControlSetting& control, int count);

// The trimmed text of the setting.
std::string TextFromSetting(const ControlSetting& control);

// The count to show: the stored number, or `floor` when it is not positive.
std::string CountFromSetting(const ControlSetting& control, int floor);

}  // namespace common
