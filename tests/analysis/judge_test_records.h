#pragma once
#include <string>

#include "analysis/kagi_judge_rec.h"
#include "analysis/kagi_line_rec.h"
#include "marketdata/key.h"
#include "platform/date.h"
#include "platform/numeric_text.h"

namespace testsupport {

inline platform::Currency Money(const char* text) { return *platform::ParseCurrency(text); }

// A cheap judgement record: market, company, judgement date, direction and
// turn state, family bits and result value; everything else zero.
inline analysis::KagiJudgeRec JudgeRecord(const std::string& corpCode, const platform::Date& date,
                                          const std::string& direction = "1", const std::string& turnState = "1",
                                          std::int32_t families = analysis::kFamilyRosa, const char* result = "1") {
    analysis::KagiJudgeRec rec;
    marketdata::InitKey("JPN", "", "0001", "", rec.Key);
    rec.Key.CorpCode = marketdata::FitField(corpCode, 20, "CorpCode");
    rec.JudgeDate = platform::ToDaySerial(date);
    rec.Direction = direction;
    rec.TurnState = turnState;
    rec.CombinedRules[analysis::kRuleBitsFamilies] = families;
    rec.Signal.SignalGainPct = Money(result);
    return rec;
}

}  // namespace testsupport
