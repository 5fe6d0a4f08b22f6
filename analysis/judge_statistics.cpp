#include "analysis/judge_statistics.h"

namespace analysis {

namespace {

using platform::Currency;

// (part / whole - rest / whole) x 100, each quotient a Currency value.
Currency NetRate(const Currency& part, const Currency& rest, const Currency& whole) {
    return (part / whole - rest / whole) * 100;
}

void Finish(DirectionStats& s) {
    s.Judgements = s.Gains + s.Losses;
    s.AbsoluteTotal = s.GainTotal + s.LossTotal;
    if (s.Judgements >= 1) s.HitRate = NetRate(Currency(s.Gains), Currency(s.Losses), Currency(s.Judgements));
    if (s.AbsoluteTotal > Currency()) {
        s.AmountRate = NetRate(s.GainTotal, s.LossTotal, s.AbsoluteTotal);
        s.LossTotal = -s.LossTotal;
    }
}

}  // namespace

JudgeStats ComputeJudgeStats(std::span<const KagiJudgeRec> recs) {
    JudgeStats stats;
    for (const KagiJudgeRec& rec : recs) {
        DirectionStats& s = stats[rec.Direction == "2" ? 1 : 0];
        const Currency& result = rec.Signal.SignalGain;
        if (result < Currency()) {
            ++s.Losses;
            s.LossTotal -= result;
        } else {
            ++s.Gains;
            s.GainTotal += result;
        }
    }
    DirectionStats& both = stats[2];
    both.Gains = stats[0].Gains + stats[1].Gains;
    both.Losses = stats[0].Losses + stats[1].Losses;
    both.GainTotal = stats[0].GainTotal + stats[1].GainTotal;
    both.LossTotal = stats[0].LossTotal + stats[1].LossTotal;
    for (DirectionStats& s : stats) Finish(s);
    return stats;
}

}  // namespace analysis
