#include "ui/screen_placement.h"

#include <QMdiArea>
#include <QWidget>
#include <algorithm>

namespace ui {

namespace {
constexpr int kMinimumWidth = 1024;
constexpr int kMinimumHeight = 742;
}  // namespace

QSize UsableScreenSize(const QMdiArea& area) {
    const QSize client = area.viewport()->size();
    return {std::max(client.width(), kMinimumWidth), std::max(client.height(), kMinimumHeight)};
}

void FitFormToScreenHeight(const QMdiArea& area, QWidget& screen) {
    screen.setGeometry(0, 0, screen.width(), UsableScreenSize(area).height());
}

void PlaceScreenOnLoad(const QMdiArea& area, const QWidget& menu, QWidget& screen) {
    const QSize usable = UsableScreenSize(area);
    const int left = menu.x() + menu.width();
    screen.setGeometry(left, 0, std::max(1, usable.width() - left), usable.height());
}

}  // namespace ui
