#pragma once
#include <span>
#include <vector>

#include "analysis/judgement_process.h"
#include "analysis/kagi_day_rec.h"
#include "analysis/kagi_line_rec.h"
#include "analysis/kesen_params.h"
#include "marketdata/code_master.h"
#include "marketdata/price_band.h"
#include "marketdata/price_series.h"

namespace analysis {

// A day or line record before anything is set: all zero or empty, the three
// dates at 1900/01/01.
KagiLineRec KagiTemplateRecord();

// A day's stored record: the template with the day's fields.
KagiLineRec DayRecord(const KagiDayRec& day);

// The stored records of a day series, as the chart-line file takes them.
std::vector<KagiLineRec> DayRecords(std::span<const KagiDayRec> days);

// One day per price row, oldest first: the adjusted close as the price, the
// close when that is 0; a row whose price is still 0 is no day.
void BuildDaySeries(std::span<const marketdata::PriceValues> rows, std::vector<KagiDayRec>& days);

// Completes a day series as BuildDaySeries gives it: each day's band tick and
// width (the lowest band's below every band), its turn-candidate mark,
// direction, move, range and volume sum; then the lines, one per run in one
// direction, `lines` holding lines 1 to the line count. Empty days give no
// line. The parameters are the judgement's, read by the rules and signals run
// over the lines.
void JudgeKagiLines(const KesenParamSet& params, std::span<const marketdata::PriceLimitRec> bands,
                    std::vector<KagiDayRec>& days, std::vector<KagiLineRec>& lines);

// One company: empties both series, stamps the company's judgement mark and
// term, and builds the day and line series. False when there is no price
// row. The rows are only read; the caller keeps them, or reuses their vector
// for the next company.
bool AKAGI41M(const KesenParamSet& params, marketdata::CdmRec& company,
              std::span<const marketdata::PriceLimitRec> bands, std::vector<KagiDayRec>& days,
              std::vector<KagiLineRec>& lines, std::span<const marketdata::PriceValues> prices);

}  // namespace analysis
