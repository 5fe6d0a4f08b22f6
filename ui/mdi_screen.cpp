#include "ui/mdi_screen.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <memory>

#include "ui/program_close.h"

namespace ui {

namespace {

class ScreenWindow : public QMdiSubWindow {
public:
    ScreenWindow() { setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint); }

protected:
    void closeEvent(QCloseEvent* event) override { AcceptOnlyProgramClose(this, event); }
};

}  // namespace

QMdiSubWindow* AddScreen(QMdiArea& area, QWidget* screen) {
    auto* window = new ScreenWindow;
    window->setWidget(screen);
    window->setWindowTitle(screen->windowTitle());
    area.addSubWindow(window);
    return window;
}

void BringToFront(QWidget& screen) {
    auto* window = qobject_cast<QMdiSubWindow*>(screen.parentWidget());
    if (window == nullptr) return;
    window->show();
    window->raise();
    if (QMdiArea* area = window->mdiArea()) area->setActiveSubWindow(window);
}

void CheckWhenLeft(QMdiArea& area, QWidget& screen, std::function<bool()> check) {
    QWidget* window = screen.parentWidget();
    auto previous = std::make_shared<QMdiSubWindow*>(nullptr);
    QObject::connect(&area, &QMdiArea::subWindowActivated, &screen,
                     [previous, window, &screen, check = std::move(check)](QMdiSubWindow* now) {
                         if (now == nullptr) return;
                         const bool leaving = *previous == window && now != window;
                         *previous = now;
                         if (leaving && !check()) BringToFront(screen);
                     });
}

}  // namespace ui
