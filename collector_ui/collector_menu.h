#pragma once
#include <QWidget>
#include <functional>

#include "platform/date.h"

namespace ui {
class MainWindow;
}

namespace collector_ui {

// The menu form `frmGetMenu` on the left of the main window.
class MenuScreen : public QWidget {
    Q_OBJECT
public:
    explicit MenuScreen(QWidget* parent = nullptr);
};

// `HpGtMenu`: the interactive screens of the collection program in the main
// window: the menu, the collection settings, the environment, the other
// functions and the maintenance buttons, filled from the settings, placed,
// and shown. `today` gives the date of the price checks.
void HpGtMenu(ui::MainWindow& window, std::function<platform::Date()> today = {});

}  // namespace collector_ui
