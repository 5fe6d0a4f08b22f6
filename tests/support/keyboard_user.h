#pragma once
// A user at the keyboard of a real window, for the screen tests of checks
// that answer in real message boxes (ui::AnswerNextBox answers them). Keys go
// where the window system sends them: to the focus widget of the window,
// also while Qt does not count that window active (after a modal box).
#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>
#include <chrono>
#include <functional>
#include <thread>

namespace testsupport {

inline void PressKey(QWidget& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString& text = {}) {
    QWidget* target = window.window()->focusWidget();
    if (target == nullptr) target = window.window();
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers, text);
        QApplication::sendEvent(target, &event);
    }
}

// Selects what the focused box holds, types `text` over it and leaves the
// box by Tab.
inline void TypeAndTab(QWidget& window, const QString& text) {
    PressKey(window, Qt::Key_A, Qt::ControlModifier);
    for (const QChar c : text) PressKey(window, 0, Qt::NoModifier, QString(c));
    PressKey(window, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
}

// Serves the event loop until `done` holds, for at most ten seconds; whether it held.
inline bool ServeUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Puts the focus into `box` as a click would, in its active window.
inline bool FocusByClick(QWidget& box) {
    box.window()->activateWindow();
    box.setFocus(Qt::MouseFocusReason);
    return ServeUntil([&box] { return box.hasFocus(); });
}

}  // namespace testsupport
