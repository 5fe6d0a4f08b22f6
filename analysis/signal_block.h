#pragma once
#include "analysis/kagi_judge_rec.h"
#include "analysis/kagi_line_rec.h"
#include "platform/currency.h"

namespace analysis {

// The 60-byte block of a Kagi line, RuleDate to SignalExtraC, member for member.
SignalBlock SignalBlockOf(const KagiLineRec& line);

// Brings the block's prices from the chart's scaled units back to the
// currency: SignalPrice, SignalGain and SignalExtraC times `priceUnit`.
void ScaleSignalBlock(SignalBlock& block, const platform::Currency& priceUnit);

}  // namespace analysis
