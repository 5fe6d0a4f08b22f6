#pragma once
#include "charts/chart_context.h"
#include "charts/drawing_list.h"
#include "platform/date.h"

namespace charts {

// Called for every bar in order: a dotted line and a "yy/mm" label at the
// first bar of a month, at most one label per month, none closer than 35 to
// the last, and after the first label only in January, April, July and
// October.
void DrawDateMark(double barX, const platform::Date& date, double labelOffset, ChartContext& ctx, DrawingList& surface);

// The font size of the date labels.
inline constexpr int kDateLabelFontSize = 8;

}  // namespace charts
