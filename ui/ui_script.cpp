#include "ui/ui_script.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QMouseEvent>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

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
        auto* box = qobject_cast<QLineEdit*>(FindControl(target));
        if (box == nullptr) return false;
        box->setFocus();
        box->setText(ToQt(rest));
        emit box->editingFinished();
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
    if (action == "screenshot") {
        QWidget* form = FindForm(ToQt(target));
        if (form == nullptr) return false;
        QCoreApplication::processEvents();
        return form->grab().save(ToQt(rest), "PNG");
    }
    return false;
}

}  // namespace

void RunUiScript(const std::string& path) {
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!RunLine(line)) std::cerr << "MIR_UI_SCRIPT: skipped: " << line << '\n';
        QCoreApplication::processEvents();
    }
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
