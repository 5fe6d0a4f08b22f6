#include "charts/date_mark.h"

#include <cstdio>

#include "charts/colour_palette.h"

namespace charts {

namespace {

constexpr double kLabelSpacing = 35;

bool QuarterMonth(int month) { return month % 3 == 1; }

}  // namespace

void DrawDateMark(double barX, const platform::Date& date, double labelOffset, ChartContext& ctx,
                  DrawingList& surface) {
    if (ctx.lastLabelX >= 0 && !QuarterMonth(date.month)) return;
    const long monthKey = date.year * 100L + date.month;
    if (monthKey == ctx.lastLabelMonth) return;
    const double labelX = ctx.dateBand.left + barX + labelOffset + 2;
    if (labelX <= ctx.lastLabelX + kLabelSpacing) return;

    const ColourPair grey = GetColourPair(kColourGrey);
    const double lineX = ctx.dateBand.left + barX;
    surface.Line(lineX, 0, lineX, surface.height, grey.light, LineStyle::Dotted);
    char text[8];
    std::snprintf(text, sizeof text, "%02d/%02d", date.year % 100, date.month);
    surface.Text(labelX, ctx.dateBand.top, text, grey.strong, kDateLabelFontSize);
    ctx.lastLabelMonth = monthKey;
    ctx.lastLabelX = labelX;
}

}  // namespace charts
