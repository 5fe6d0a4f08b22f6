#pragma once
// A user at the keyboard of a real window, for the screen-action script and
// the screen tests. Keys go where the window system sends them: to the focus
// widget of the window, also while Qt does not count that window active
// (after a modal box).
#include <QString>
#include <Qt>
#include <chrono>
#include <functional>

class QWidget;

namespace ui {

void PressKey(QWidget& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {});

// Selects what the focused box holds, types `text` over it and leaves the
// box by Tab, so that a check made when the box is left runs.
void TypeAndTab(QWidget& window, const QString& text);

// Serves the event loop until `done` holds, for at most `limit`; whether it held.
bool ServeUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));

// Puts the focus into `box` as a click would, in its active window; false
// when the box is hidden or disabled, where a click gives no focus.
bool FocusByClick(QWidget& box);

}  // namespace ui
