#include "analysis/judge_records.h"

#include <cmath>
#include <cstddef>

#include "analysis/line_access.h"
#include "analysis/signal_block.h"
#include "platform/date.h"

namespace analysis {

namespace {

const KagiLineRec& NumberedLine(std::span<const KagiLineRec> lines, std::int32_t number) {
    if (number < 1 || static_cast<std::size_t>(number) > lines.size()) {
        marketdata::RaiseSubscriptOutOfRange("MakeJudgeRecords");
    }
    return LineAt(lines, number);
}

// The leading word is no flag word and stays out of the combined set.
void MergeRules(RuleSet& combined, const RuleSet& rules) {
    for (std::size_t w = kRuleBitsFamilies; w < rules.size(); ++w) combined[w] |= rules[w];
}

SignalBlock ScaledBlock(const KagiLineRec& line, const platform::Currency& priceUnit) {
    SignalBlock block = SignalBlockOf(line);
    ScaleSignalBlock(block, priceUnit);
    return block;
}

}  // namespace

std::vector<KagiJudgeRec> MakeJudgeRecords(const marketdata::Key& key, std::span<const KagiLineRec> lines,
                                           const platform::Currency& priceUnit) {
    std::vector<KagiJudgeRec> recs;
    for (const KagiLineRec& line : lines) {
        if (line.SignalMark != "1") continue;
        KagiJudgeRec& rec = recs.emplace_back();
        rec.Key = key;
        rec.JudgeDate = std::floor(line.RuleDate);
        rec.Direction = line.Direction.Text();

        const KagiLineRec& signal = NumberedLine(lines, line.SignalLine);
        rec.Signal = ScaledBlock(signal, priceUnit);
        rec.SignalRules = signal.RuleBits;
        MergeRules(rec.CombinedRules, rec.SignalRules);

        if (line.PairLine < 1) {
            rec.TurnState = "1";
            rec.Turn.RuleDate = platform::ToDaySerial(platform::Date{1900, 1, 1});
            continue;
        }
        const KagiLineRec& turn = NumberedLine(lines, line.PairLine);
        rec.TurnState = "2";
        rec.Turn = ScaledBlock(turn, priceUnit);
        rec.TurnRules = turn.RuleBits;
        MergeRules(rec.CombinedRules, rec.TurnRules);
    }
    return recs;
}

}  // namespace analysis
