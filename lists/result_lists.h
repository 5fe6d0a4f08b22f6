#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "charts/chart_target.h"
#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "lists/list_data.h"

namespace lists {

// What the judgement-result lists are built for: the country code ("" when
// none is chosen), the summary level 1-5 (0 when none is chosen) and the rule
// group bit (0 for all groups).
struct SummarySelection {
    std::string country;
    long level = 0;
    std::int32_t ruleBit = 0;
};

// The rule-group bit of the rule combo's item index: 1 ろさ 2048, 2 ろく 1024,
// 3 ろゑ 512, 4 ろあ 256, anything else 0.
std::int32_t RuleBitOfChoice(int index);

// The summary list (40 columns, the last the hidden key) of the summary
// records of the selection, in file order; a row's text is its level digit,
// ":" and its record number ("4:0000012"). The bands show the profit and
// loss classes 1-11, class 0 (a result of exactly 0 %) counted in band 1, so
// that the bands add up to the counts. A missing country or level, or no
// record, is told to the user and gives nullopt: the screen keeps its rows.
// `states` is rebuilt for the new columns.
std::optional<ListData> BuildSummaryList(common::EnvRec& env, common::MSGRec& msg, const SummarySelection& selection,
                                         std::vector<ColumnSortState>& states);

// The detail list (16 columns) of the summary row `summaryRowText` of a list
// built for `selection`: the judgement results that its record aggregates.
// Levels 1-3 are refused with a warning (nullopt: the screen keeps its
// rows); a summary record or result file that cannot be read gives the
// headers without rows.
std::optional<ListData> BuildDetailList(common::EnvRec& env, common::MSGRec& msg, const SummarySelection& selection,
                                        const std::string& summaryRowText, std::vector<ColumnSortState>& states);

// The chart target of detail row `row` (by its 国, 投資区分 and 企業コード
// cells); nullopt, after telling the user, when the company has no
// name-index record.
std::optional<charts::ChartTarget> DetailRowChartTarget(common::EnvRec& env, const ListRow& row);

}  // namespace lists
