#include "ui/box_answer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QTimer>
#include <deque>

#include "common/logs/message_buttons.h"
#include "ui/qt_message_presenter.h"
#include "ui/qt_text.h"

namespace ui {

namespace {

struct WaitingAnswer {
    long id;
    QMessageBox::StandardButton button;
    QString form;     // with `control`, the opener; both empty without one
    QString control;
};

bool InsideForm(const QObject* widget, const QString& form) {
    for (; widget != nullptr; widget = widget->parent()) {
        if (widget->objectName() == form) return true;
    }
    return false;
}

// Watches every widget that shows; acts only while an answer waits. Its
// presses are queued, so that they happen inside the box's or the run's own
// event loop, as a user's would.
class BoxAnswerer : public QObject {
public:
    static BoxAnswerer& Instance() {
        static QPointer<BoxAnswerer> answerer;
        if (answerer.isNull()) {
            answerer = new BoxAnswerer(qApp);
            qApp->installEventFilter(answerer);
        }
        return *answerer;
    }

    std::deque<WaitingAnswer> waiting;
    long lastId = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || waiting.empty()) return false;
        WaitingAnswer& next = waiting.front();
        if (!next.control.isEmpty()) {
            auto* opener = qobject_cast<QAbstractButton*>(watched);
            if (opener != nullptr && opener->objectName() == next.control && InsideForm(opener, next.form)) {
                QTimer::singleShot(0, opener, [this, opener, id = next.id] { Open(*opener, id); });
            }
            return false;
        }
        if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            const QMessageBox::StandardButton button = next.button;
            waiting.pop_front();
            QTimer::singleShot(0, box, [box, button] {
                QAbstractButton* pressed = box->button(button);
                if (pressed == nullptr) pressed = box->defaultButton();
                if (pressed != nullptr) pressed->click();
            });
        }
        return false;
    }

private:
    using QObject::QObject;

    // Clicks the opener of answer `id` once, while it can be clicked; a
    // button gone again waits for its next showing.
    void Open(QAbstractButton& opener, long id) {
        if (waiting.empty() || waiting.front().id != id || waiting.front().control.isEmpty()) return;
        if (!opener.isVisible() || !opener.isEnabled()) return;
        waiting.front().control.clear();
        opener.click();
    }
};

}  // namespace

bool AnswerNextBox(const std::string& button, const std::string& opener) {
    const int result = common::ButtonFromName(button);
    if (result == 0) return false;
    BoxAnswerer& answerer = BoxAnswerer::Instance();
    WaitingAnswer answer{++answerer.lastId, QtButton(result), {}, {}};
    const QString target = ToQt(opener);
    const qsizetype slash = target.indexOf('/');
    if (slash > 0) {
        answer.form = target.left(slash);
        answer.control = target.mid(slash + 1);
    }
    answerer.waiting.push_back(answer);
    return true;
}

}  // namespace ui
