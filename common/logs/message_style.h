#pragma once

namespace common {

// Message-box style values and pressed-button results, as callers pass and
// receive them. A style is buttons + icon + default button.
namespace msg_style {
inline constexpr int kOkOnly = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kAbortRetryIgnore = 2;
inline constexpr int kYesNoCancel = 3;
inline constexpr int kYesNo = 4;
inline constexpr int kRetryCancel = 5;
inline constexpr int kButtonsMask = 0x0F;

inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
inline constexpr int kIconMask = 0x70;

inline constexpr int kDefaultButton2 = 256;
inline constexpr int kDefaultButton3 = 512;
inline constexpr int kDefaultMask = 0x300;
}  // namespace msg_style

namespace msg_result {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kAbort = 3;
inline constexpr int kRetry = 4;
inline constexpr int kIgnore = 5;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace msg_result

}  // namespace common
