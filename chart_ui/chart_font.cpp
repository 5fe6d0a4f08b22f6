#include "chart_ui/chart_font.h"

namespace chart_ui {

QFont ChartFont(int points) {
    QFont font(QStringLiteral("IPAGothic"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(points > 0 ? points : 9);
    return font;
}

}  // namespace chart_ui
