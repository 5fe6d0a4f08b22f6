#pragma once
// The keyboard user of the screen tests: the one the screen-action script
// uses (ui/keyboard_user.h); ui::AnswerNextBox answers the real message
// boxes its keys bring up.
#include "ui/keyboard_user.h"

namespace testsupport {

using ui::FocusByClick;
using ui::PressKey;
using ui::ServeUntil;
using ui::TypeAndTab;

}  // namespace testsupport
