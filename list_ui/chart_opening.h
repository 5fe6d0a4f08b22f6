#pragma once
#include "charts/chart_target.h"

namespace chart_ui {
class ChartWindow;
}

namespace list_ui {

// Shows the chart window in front and draws the Kagi chart of `target` in
// it; a stock that cannot be drawn leaves it empty, never showing another
// stock's chart under this one's name. The caller's handler holds the busy
// flag.
void OpenKagiChart(chart_ui::ChartWindow& window, const charts::ChartTarget& target);

}  // namespace list_ui
