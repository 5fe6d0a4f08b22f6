#include "analysis/signal_block.h"

namespace analysis {

SignalBlock SignalBlockOf(const KagiLineRec& line) {
    SignalBlock block;
    block.RuleDate = line.RuleDate;
    block.SignalExtraA = line.SignalExtraA;
    block.SignalExtraB = line.SignalExtraB;
    block.SignalPrice = line.SignalPrice;
    block.SignalGain = line.SignalGain;
    block.SignalGainPct = line.SignalGainPct;
    block.RuleCount = line.RuleCount;
    block.SignalExtraC = line.SignalExtraC;
    return block;
}

void ScaleSignalBlock(SignalBlock& block, const platform::Currency& priceUnit) {
    block.SignalPrice = block.SignalPrice * priceUnit;
    block.SignalGain = block.SignalGain * priceUnit;
    block.SignalExtraC = block.SignalExtraC * priceUnit;
}

}  // namespace analysis
