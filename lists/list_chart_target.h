#pragma once
#include <optional>
#include <string>

#include "charts/chart_target.h"
#include "common/files/env_rec.h"

namespace lists {

// The message when a listed stock cannot be charted.
inline constexpr const char* kNoPriceSeriesMessage = "株価時系列データが存在しません。　";

// The part of a list cell before its first ":" (the whole text without one).
std::string TextBeforeColon(const std::string& text);

// The chart target of a listed company, from its name-index record: its Key
// for the chart and the code-master record, its currency code
// (StockCurrencyCode of the stored currency and the market), and the
// country, market, sector, industry and name texts, trimmed. A company the
// name index does not hold is told to the user (kNoPriceSeriesMessage) and
// gives nullopt, so that no other stock is charted in its place.
std::optional<charts::ChartTarget> ChartTargetOfCompany(common::EnvRec& env, const std::string& country,
                                                        const std::string& category, const std::string& corpCode);

}  // namespace lists
