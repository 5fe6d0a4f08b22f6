#pragma once
#include <vector>

class QMdiArea;
class QWidget;

namespace ui {

// Places the menu at the left, as high as the usable area, and each screen
// beside it; again whenever the main window's area changes size once
// start-up is over. Menu and screens are the forms inside their windows.
void KeepScreensPlaced(QMdiArea& area, QWidget& menu, std::vector<QWidget*> screens);

}  // namespace ui
