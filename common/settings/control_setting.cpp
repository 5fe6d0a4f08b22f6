#include "common/settings/control_setting.h"

#include <set>

#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "platform/utf8_text.h"

namespace common {

namespace {

int DefaultNumber(const ControlSetting& control) { return std::stoi(control.defaultValue); }

void LogOutOfRange(const ControlSetting& control, const std::string& value) {
    static std::set<std::string> logged;
    const std::string path = SettingPathOf(control);
    if (!logged.insert(path).second) return;
    WriteErrorLog(State().errorLogOn, control.objectName, log_tag::kWarning, "00",
                  "設定値が範囲外のため初期値を使います：" + path + "=" + value);
}

}  // namespace

std::string SettingPathOf(const ControlSetting& control) {
    return control.index == 0 ? std::string(control.path)
                              : IndexedKeyPath(control.path, static_cast<std::int16_t>(control.index));
}

bool CheckedFromSetting(const ControlSetting& control) {
    const std::string text = platform::TrimBlanks(ReadSetting(SettingPathOf(control)));
    const std::int32_t value = ReadSettingLong(SettingPathOf(control));
    if (value == 0 || value == 1) return value == 1;
    LogOutOfRange(control, text);
    return DefaultNumber(control) == 1;
}

int OptionFromSetting(const ControlSetting& control, int count) {
    const std::int32_t value = ReadSettingLong(SettingPathOf(control));
    if (value <= 0) return 1;
    if (value <= count) return value;
    LogOutOfRange(control, std::to_string(value));
    return DefaultNumber(control);
}

std::string TextFromSetting(const ControlSetting& control) {
    return platform::TrimBlanks(ReadSetting(SettingPathOf(control)));
}

std::string CountFromSetting(const ControlSetting& control, int floor) {
    const std::int32_t value = ReadSettingLong(SettingPathOf(control));
    return std::to_string(value > 0 ? value : floor);
}

}  // namespace common
