#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "analysis/kagi_judge_rec.h"
#include "platform/currency.h"

namespace analysis {

// The judgement results of one direction (or of both): a result is the
// signal block's SignalGain.
struct DirectionStats {
    std::int32_t Judgements = 0;
    std::int32_t Gains = 0;   // results of 0 or more
    std::int32_t Losses = 0;  // results below 0
    platform::Currency HitRate;        // (gains - losses) / judgements, in percent
    platform::Currency AbsoluteTotal;
    platform::Currency GainTotal;
    platform::Currency LossTotal;      // negative once the rate is formed
    platform::Currency AmountRate;     // (gain total - loss total) / absolute total, in percent
};

// [0] direction "1", [1] direction "2", [2] both.
using JudgeStats = std::array<DirectionStats, 3>;

// The statistics of `recs`; a record whose direction is not "2" counts as
// direction "1". Each quotient of a rate is rounded to four decimals before
// the difference is taken; an entry without judgements, or without a
// non-zero result, keeps the rate 0.
JudgeStats ComputeJudgeStats(std::span<const KagiJudgeRec> recs);

}  // namespace analysis
