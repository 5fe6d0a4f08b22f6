#include "ui/screen_layout.h"

#include <QEvent>
#include <QMdiArea>
#include <QWidget>

#include "common/run_state.h"
#include "ui/screen_placement.h"

namespace ui {

namespace {

class ScreenLayout : public QObject {
public:
    ScreenLayout(QMdiArea& area, QWidget& menu, std::vector<QWidget*> screens)
        : QObject(&area), area_(area), menu_(menu), screens_(std::move(screens)) {
        area.viewport()->installEventFilter(this);
    }

    void LayOut() {
        FitFormToScreenHeight(area_, Window(menu_));
        for (QWidget* screen : screens_) PlaceScreenOnLoad(area_, Window(menu_), Window(*screen));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize && !common::State().StartingUp) LayOut();
        return false;
    }

private:
    static QWidget& Window(QWidget& screen) { return *screen.parentWidget(); }

    QMdiArea& area_;
    QWidget& menu_;
    std::vector<QWidget*> screens_;
};

}  // namespace

void KeepScreensPlaced(QMdiArea& area, QWidget& menu, std::vector<QWidget*> screens) {
    (new ScreenLayout(area, menu, std::move(screens)))->LayOut();
}

}  // namespace ui
