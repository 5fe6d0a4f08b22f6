#pragma once
#include "charts/chart_target.h"
#include "charts/drawing_list.h"
#include "common/files/env_rec.h"

namespace charts {

// The Kagi chart of the stock from its chart-line file (the line series the
// judgement for the screens wrote), which is deleted once read: one bar per
// line, coloured by direction or, with turn colouring, by the last turn and
// split at the turn price, with the labels of its features and rules, the
// date marks, the price scale and the title. An unreadable file, or a single
// line, is told to the user (warning) and gives false.
bool AGKSN00M(common::EnvRec& env, const ChartFrame& frame, const ChartTarget& target, ChartScene& scene);

// The one way every screen draws a stock's Kagi chart: deletes the stock's
// chart-line files, loads its series by the chart settings, judges it for
// the screens (which writes the chart-line files) and draws them. False,
// after the user was told, when the stock has no series or nothing to draw.
bool DrawStockKagiChart(common::EnvRec& env, const ChartFrame& frame, const ChartTarget& target, ChartScene& scene);

}  // namespace charts
