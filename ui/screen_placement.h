#pragma once
#include <QSize>

class QMdiArea;
class QWidget;

namespace ui {

// The screens' places in the main window. The stretching of controls inside
// a screen is left to each screen's Qt layout.

// The main window's client area, never less than 1024 by 742 pixels: smaller
// windows scroll rather than squeeze the screens.
QSize UsableScreenSize(const QMdiArea& area);

// The menu form: at the top left, as high as the usable area.
void FitFormToScreenHeight(const QMdiArea& area, QWidget& screen);

// A screen: from the menu's right edge to the usable area's right edge, full
// height.
void PlaceScreenOnLoad(const QMdiArea& area, const QWidget& menu, QWidget& screen);

}  // namespace ui
