#include "analysis/company_judgement.h"

#include <cstddef>
#include <string>

#include "analysis/judge_statistics.h"
#include "platform/date.h"

namespace analysis {

namespace {

constexpr std::size_t kJudgementDateWidth = 10;
constexpr std::size_t kStoredRuleWords = 5;

void StoreLatest(const KagiJudgeRec& latest, marketdata::CdmRec& company) {
    company.Attr4 = platform::DateText(platform::FromDaySerial(latest.JudgeDate));
    company.Attr5 = latest.Direction;
    company.Attr6 = latest.TurnState;
    for (std::size_t w = 0; w < kStoredRuleWords; ++w) company.Num[w + 1] = latest.CombinedRules[w];

    const SignalBlock& block = latest.Signal;
    company.ValueDate = platform::FromDaySerial(block.RuleDate);
    company.Amount[1] = block.SignalExtraA;
    company.Amount[2] = block.SignalExtraB;
    company.Amount[3] = block.SignalPrice;
    company.Amount[4] = block.SignalGain;
    company.Amount[5] = block.SignalGainPct;
    company.Num[6] = block.RuleCount;
    company.Amount[6] = block.SignalExtraC;
}

void StoreStats(const DirectionStats& stats, marketdata::NumGroupRec& group) {
    group.Nums = {stats.Judgements, stats.Gains, stats.Losses};
    group.Amounts = {stats.HitRate, stats.AbsoluteTotal, stats.GainTotal, stats.LossTotal, stats.AmountRate};
}

}  // namespace

void ClearJudgementDate(marketdata::CdmRec& company) { company.Attr4 = std::string(kJudgementDateWidth, ' '); }

void StoreJudgements(std::span<const KagiJudgeRec> recs, marketdata::CdmRec& company) {
    if (recs.empty()) {
        company.Attr6 = "9";
        return;
    }
    StoreLatest(recs.back(), company);
    const JudgeStats stats = ComputeJudgeStats(recs);
    for (std::size_t e = 0; e < stats.size(); ++e) StoreStats(stats[e], company.NumGroup[e + 1]);
}

}  // namespace analysis
