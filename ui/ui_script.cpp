#include "ui/ui_script.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QMouseEvent>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

#include "ui/box_answer.h"
#include "ui/keyboard_user.h"
#include "ui/qt_text.h"

namespace ui {

namespace {

QWidget* FindForm(const QString& name) {
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget->objectName() == name) return widget;
    }
    return nullptr;
}

// "<form>/<control>": the control inside the form.
QWidget* FindControl(const std::string& target) {
    const QString text = ToQt(target);
    const qsizetype slash = text.indexOf('/');
    if (slash < 0) return nullptr;
    QWidget* form = FindForm(text.left(slash));
    return form != nullptr ? form->findChild<QWidget*>(text.mid(slash + 1)) : nullptr;
}

bool RunLine(const std::string& line) {
    std::istringstream words(line);
    std::string action;
    std::string target;
    words >> action >> target;
    std::string rest;
    std::getline(words >> std::ws, rest);
    if (action == "click") {
        auto* button = qobject_cast<QAbstractButton*>(FindControl(target));
        if (button == nullptr) return false;
        button->click();
        return true;
    }
    if (action == "text") {
        // Typed and left as by the keyboard: the screens check and store a
        // box when it loses the focus.
        auto* box = qobject_cast<QLineEdit*>(FindControl(target));
        if (box == nullptr || !FocusByClick(*box)) return false;
        TypeAndTab(*box, ToQt(rest));
        return true;
    }
    if (action == "choose") {
        auto* combo = qobject_cast<QComboBox*>(FindControl(target));
        const int entry = combo != nullptr ? combo->findText(ToQt(rest)) : -1;
        if (entry < 0) return false;
        combo->setCurrentIndex(entry);
        return true;
    }
    if (action == "dblclick") {
        auto* view = qobject_cast<QAbstractItemView*>(FindControl(target));
        if (view == nullptr || view->model() == nullptr) return false;
        const int row = std::atoi(rest.c_str());
        if (row < 0 || row >= view->model()->rowCount()) return false;
        DoubleClickRow(*view, row);
        return true;
    }
    if (action == "answer") return AnswerNextBox(target, rest);
    if (action == "screenshot") {
        // What the user sees: a form that is not on the screen has no picture.
        QWidget* form = FindForm(ToQt(target));
        if (form == nullptr || !form->isVisible()) return false;
        QCoreApplication::processEvents();
        return form->grab().save(ToQt(rest), "PNG");
    }
    return false;
}

using Lines = std::shared_ptr<const std::vector<std::string>>;

// Each line comes from the event loop once the one before has ended, as a
// user's next action does: a program that has ended meanwhile runs no more.
void RunLinesFrom(const Lines& lines, std::size_t next, const std::function<void()>& finished) {
    if (next == lines->size()) {
        if (finished) finished();
        return;
    }
    const std::string& line = (*lines)[next];
    if (!RunLine(line)) std::cerr << "MIR_UI_SCRIPT: skipped: " << line << '\n';
    QTimer::singleShot(0, qApp, [lines, next, finished] { RunLinesFrom(lines, next + 1, finished); });
}

}  // namespace

void RunUiScript(const std::string& path, std::function<void()> finished) {
    auto lines = std::make_shared<std::vector<std::string>>();
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (line.back() == '\r') line.pop_back();
        lines->push_back(line);
    }
    QTimer::singleShot(0, qApp, [lines = Lines(std::move(lines)), finished = std::move(finished)] {
        RunLinesFrom(lines, 0, finished);
    });
}

void DoubleClickRow(QAbstractItemView& view, int row) {
    view.window()->show();
    QApplication::processEvents();
    const QModelIndex index = view.model()->index(row, 0);
    view.scrollTo(index);
    const QPoint at = view.visualRect(index).center();
    QWidget* port = view.viewport();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                    QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, at, port->mapToGlobal(at), Qt::LeftButton,
                          down ? Qt::MouseButtons(Qt::LeftButton) : Qt::MouseButtons(Qt::NoButton), Qt::NoModifier);
        QApplication::sendEvent(port, &event);
    }
}

void RunUiScriptFromEnvironment() {
    const char* path = std::getenv("MIR_UI_SCRIPT");
    if (path != nullptr && *path != '\0') RunUiScript(path);
}

}  // namespace ui
