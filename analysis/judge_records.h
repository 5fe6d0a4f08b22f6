#pragma once
#include <span>
#include <vector>

#include "analysis/kagi_judge_rec.h"
#include "analysis/kagi_line_rec.h"
#include "marketdata/key.h"
#include "platform/currency.h"

namespace analysis {

// The judgements of one company's judged lines: a record for every line whose
// SignalMark is "1", in line order, holding the blocks and rule sets of its
// signal line and (turn state "2") its pair line; without a pair line the turn
// state is "1" and the turn block is dated 1900/01/01. The blocks' prices are
// multiplied by `priceUnit`, the price unit of the company's currency. A
// signal or pair line number outside the series raises error 9.
std::vector<KagiJudgeRec> MakeJudgeRecords(const marketdata::Key& key, std::span<const KagiLineRec> lines,
                                           const platform::Currency& priceUnit);

}  // namespace analysis
