#include "common/logs/message_buttons.h"

#include <algorithm>
#include <array>
#include <utility>

#include "common/logs/message_style.h"

namespace common {

namespace {
constexpr std::array<std::pair<int, std::string_view>, 7> kNames{{
    {msg_result::kOk, "OK"},
    {msg_result::kCancel, "Cancel"},
    {msg_result::kAbort, "Abort"},
    {msg_result::kRetry, "Retry"},
    {msg_result::kIgnore, "Ignore"},
    {msg_result::kYes, "Yes"},
    {msg_result::kNo, "No"},
}};
}  // namespace

std::vector<int> ButtonsOfStyle(int style) {
    using namespace msg_result;
    switch (style & msg_style::kButtonsMask) {
        case msg_style::kOkCancel: return {kOk, kCancel};
        case msg_style::kAbortRetryIgnore: return {kAbort, kRetry, kIgnore};
        case msg_style::kYesNoCancel: return {kYes, kNo, kCancel};
        case msg_style::kYesNo: return {kYes, kNo};
        case msg_style::kRetryCancel: return {kRetry, kCancel};
        default: return {kOk};
    }
}

int DefaultButtonOfStyle(int style) {
    const std::vector<int> buttons = ButtonsOfStyle(style);
    std::size_t index = 0;
    if ((style & msg_style::kDefaultMask) == msg_style::kDefaultButton2) {
        index = 1;
    } else if ((style & msg_style::kDefaultMask) == msg_style::kDefaultButton3) {
        index = 2;
    }
    return buttons[std::min(index, buttons.size() - 1)];
}

int EscapeButtonOfStyle(int style) {
    const std::vector<int> buttons = ButtonsOfStyle(style);
    if (std::find(buttons.begin(), buttons.end(), msg_result::kCancel) != buttons.end()) {
        return msg_result::kCancel;
    }
    return buttons.size() == 1 ? buttons.front() : buttons.back();
}

std::string_view ButtonName(int button) {
    for (const auto& [value, name] : kNames) {
        if (value == button) {
            return name;
        }
    }
    return "";
}

int ButtonFromName(std::string_view name) {
    for (const auto& [value, known] : kNames) {
        if (known == name) {
            return value;
        }
    }
    return 0;
}

}  // namespace common
