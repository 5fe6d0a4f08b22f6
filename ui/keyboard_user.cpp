#include "ui/keyboard_user.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <thread>

namespace ui {

void PressKey(QWidget& window, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QWidget* target = window.window()->focusWidget();
    if (target == nullptr) target = window.window();
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers, text);
        QApplication::sendEvent(target, &event);
    }
}

void TypeAndTab(QWidget& window, const QString& text) {
    PressKey(window, Qt::Key_A, Qt::ControlModifier);
    for (const QChar c : text) PressKey(window, 0, Qt::NoModifier, QString(c));
    PressKey(window, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
}

bool ServeUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool FocusByClick(QWidget& box) {
    if (!box.isVisible() || !box.isEnabled()) return false;
    box.window()->activateWindow();
    box.setFocus(Qt::MouseFocusReason);
    return ServeUntil([&box] { return box.hasFocus(); });
}

}  // namespace ui
