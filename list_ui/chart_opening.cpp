#include "list_ui/chart_opening.h"

#include <QMdiSubWindow>

#include "chart_ui/chart_window.h"

namespace list_ui {

void OpenKagiChart(chart_ui::ChartWindow& window, const charts::ChartTarget& target) {
    window.SetChartTarget(target);
    // Inside the main window the chart is an MDI child: its frame is what comes to the front.
    QWidget* shown = qobject_cast<QMdiSubWindow*>(window.parentWidget());
    if (shown == nullptr) shown = &window;
    shown->show();
    shown->raise();
    shown->activateWindow();
    window.DrawKagiChart();
}

}  // namespace list_ui
