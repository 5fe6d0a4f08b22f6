#include "analysis/judge_list.h"

#include "analysis/kagi_line_rec.h"
#include "analysis/record_fields.h"
#include "platform/date.h"
#include "platform/integer_round.h"
#include "platform/number_format.h"
#include "platform/utf8_text.h"

namespace analysis {

namespace {

constexpr std::int32_t kHighestResultClass = 11;
constexpr std::size_t kMarketWidth = 3;

// The stored width of a text field, so every key of a file has one length
// (the sort compares whole lines) even for a record built in memory.
std::string AsStored(const std::string& text, std::size_t width) { return platform::PadRightChars(text, width); }

// `value` as the pattern of `width` zeros formats it; every record of a
// run has its keys made, so the usual values skip the general formatter.
std::string ZeroPadded(long value, std::size_t width) {
    std::string text(width, '0');
    long rest = value;
    for (std::size_t i = width; i > 0 && rest > 0; --i, rest /= 10) text[i - 1] = static_cast<char>('0' + rest % 10);
    if (value >= 0 && rest == 0) return text;
    return platform::FormatNumber(static_cast<double>(value), std::string(width, '0'));
}

std::string YearKey(double judgeDate) { return ZeroPadded(platform::FromDaySerial(judgeDate).year, 4); }

}  // namespace

std::string GatherLine(const std::string& sortText, long n) { return sortText + "@" + ZeroPadded(n, 8); }

std::string ComplementKey(std::int32_t word) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    const unsigned complement = 4095 - static_cast<unsigned>(word & 4095);
    return {kHexDigits[complement >> 8], kHexDigits[(complement >> 4) & 15], kHexDigits[complement & 15]};
}

std::int32_t ResultClass(const platform::Currency& magnitude) {
    std::int32_t a = platform::ToLong(magnitude) / 10;
    if (platform::Currency(10LL * a) < magnitude) ++a;
    return a > kHighestResultClass ? kHighestResultClass : a;
}

void DeriveJudgeList(KagiJudgeRec& rec, long n) {
    KagiJudgeList& list = rec.List;
    list.FamilyKey = ComplementKey(rec.CombinedRules[kRuleBitsFamilies]);
    list.RuleKey.clear();
    for (const std::size_t word : {kRuleBitsRosa, kRuleBitsRoku, kRuleBitsRoe, kRuleBitsRoa}) {
        list.RuleKey += ComplementKey(rec.CombinedRules[word]);
    }
    list.YearKey = YearKey(rec.JudgeDate);
    list.Level1Key = AsStored(rec.Key.Market, kMarketWidth) + AsStored(rec.Direction, kFlagWidth);
    list.Level2Key = list.Level1Key + AsStored(rec.TurnState, kFlagWidth);
    list.Level3Key = list.Level2Key + list.FamilyKey;
    list.Level4Key = list.Level3Key + list.RuleKey;
    list.SortText = list.Level4Key + list.YearKey;
    list.GatherLine = GatherLine(list.SortText, n);

    const platform::Currency& result = rec.Signal.SignalGainPct;
    const bool rising = result >= platform::Currency();
    list.SignMark = rising ? "1" : "0";
    list.ResultMagnitude = rising ? result : -result;
    list.ResultClass = ResultClass(list.ResultMagnitude);
    list.FallingMark = rising ? 0 : 1;
    list.RisingMark = rising ? 1 : 0;
}

void CopyStoredIntoList(KagiJudgeRec& rec) {
    KagiJudgeList& list = rec.List;
    list.OwnIndex = rec.IndexValue;
    list.LevelRows = rec.LevelRows;
    list.MarketCopy = AsStored(rec.Key.Market, kMarketWidth);
    list.DirectionCopy = AsStored(rec.Direction, kFlagWidth);
    list.TurnStateCopy = AsStored(rec.TurnState, kFlagWidth);
    list.RulesCopy = rec.CombinedRules;
}

}  // namespace analysis
