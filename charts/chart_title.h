#pragma once
#include <string>

#include "charts/chart_target.h"
#include "marketdata/key.h"

namespace charts {

// The title line of a chart, by the category of `key`: index ("0010"),
// sector ("0050"), research-provider industry ("0060") or company, each with
// its country, and a company's or sector's further texts where they are not
// blank.
std::string ChartTitleText(const marketdata::Key& key, const ChartTargetRec& texts);

}  // namespace charts
