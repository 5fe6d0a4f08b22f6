#pragma once
#include <span>

#include "analysis/kagi_judge_rec.h"
#include "marketdata/code_master.h"

namespace analysis {

// Where a company's code-master record keeps its judgement, the fields the
// analysis information and the list columns read:
//   Attr4, Attr5, Attr6   date ("yyyy/mm/dd"), direction and turn state of
//                         the latest judgement; turn state "9": none
//   Num[1] to Num[5]      its combined rule set, words 0 to 4 (word 5 is
//                         read by nothing and not kept)
//   ValueDate, Amount[1] to Amount[5], Num[6], Amount[6]
//                         its signal block, member for member
//   NumGroup[1], [2], [3] the statistics of direction "1", "2" and both

// Blanks the judgement date before the company is judged again.
void ClearJudgementDate(marketdata::CdmRec& company);

// Keeps the latest of `recs` (the last) and the statistics of all of them.
// No record: turn state "9", everything else as it was.
void StoreJudgements(std::span<const KagiJudgeRec> recs, marketdata::CdmRec& company);

}  // namespace analysis
