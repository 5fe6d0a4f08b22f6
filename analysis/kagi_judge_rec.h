#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "marketdata/key.h"
#include "platform/currency.h"

namespace analysis {

// A rule set as the Kagi records store it: the six words of
// `KagiLineRec::RuleBits` (kRuleBitsUnused ... kRuleBitsRoa).
using RuleSet = std::array<std::int32_t, 6>;

// The 60-byte date-and-price block of a Kagi line, `RuleDate` to
// `SignalExtraC`, in stored order: date at 0, Currency values at 8, 16, 24
// (`SignalPrice`), 32 (`SignalGain`), 40 (`SignalGainPct`), `RuleCount` at 48
// and a Currency value at 52.
struct SignalBlock {
    double RuleDate = 0;
    platform::Currency SignalExtraA;
    platform::Currency SignalExtraB;
    platform::Currency SignalPrice;
    platform::Currency SignalGain;
    platform::Currency SignalGainPct;
    std::int32_t RuleCount = 0;
    platform::Currency SignalExtraC;

    friend bool operator==(const SignalBlock&, const SignalBlock&) = default;
};
inline constexpr std::size_t kSignalBlockSize = 60;

// Derived list part of a judgement record: in memory only, rebuilt by the
// readers for the record's position n in their result.
struct KagiJudgeList {
    std::int32_t OwnIndex = 0;
    std::array<std::int32_t, 5> LevelRows{};  // levels 1 to 5 at [0] to [4]
    std::string MarketCopy;
    std::string DirectionCopy;
    std::string TurnStateCopy;
    RuleSet RulesCopy{};
    std::string Level1Key;  // market & direction
    std::string Level2Key;  // & turn state
    std::string Level3Key;  // & family key
    std::string Level4Key;  // & rule key
    std::string SortText;   // level-5 key: & year key
    std::string YearKey;
    std::string SignMark;  // "1" result 0 or more, "0" negative
    std::string GatherLine;
    std::string FamilyKey;
    std::string RuleKey;
    platform::Currency ResultMagnitude;
    std::int32_t ResultClass = 0;  // 0 to 11
    std::int32_t FallingMark = 0;
    std::int32_t RisingMark = 0;

    friend bool operator==(const KagiJudgeList&, const KagiJudgeList&) = default;
};

// One judgement: a company and one signal line of its Kagi lines. The stored
// part is the members up to `BlockNumber` (kKagiJudgeRecSize bytes on disk);
// `List` is the derived part.
struct KagiJudgeRec {
    marketdata::Key Key;
    std::int32_t IndexValue = 0;
    std::int32_t FurtherLong = 0;
    std::array<std::int32_t, 5> LevelRows{};
    double JudgeDate = 0;   // day serial, date part only
    std::string Direction;  // "1" up, "2" down
    std::string TurnState;  // "1" without a turn line, "2" with one
    RuleSet CombinedRules{};
    RuleSet SignalRules{};
    RuleSet TurnRules{};
    SignalBlock Signal;  // its SignalGainPct is the judgement's result value
    SignalBlock Turn;
    std::int32_t SequenceNumber = 0;
    std::int32_t BlockNumber = 0;

    KagiJudgeList List;
};
inline constexpr std::size_t kKagiJudgeRecSize = 321;

// One summary row of the tally. The stored part is the members up to
// `FallingByClass` (kKagiSummaryRecSize bytes on disk); the members after it
// are derived by the reader.
struct KagiSummaryRec {
    std::string MarketCode;     // 3
    std::string LevelDigit;     // 1, "1" to "5"
    std::string DirectionMark;  // 1
    std::string TurnStateMark;  // 1
    std::string YearKey;        // 4
    std::array<std::uint8_t, 24> FurtherValuesA{};
    std::int32_t RowNumber = 0;
    std::array<std::int32_t, 6> FirstRecord{};  // slot L for level L
    std::array<std::int32_t, 6> LastRecord{};
    RuleSet Rules{};
    std::array<std::uint8_t, 32> FurtherValuesB{};
    platform::Currency RecordCount;
    platform::Currency RisingCount;
    platform::Currency FallingCount;
    platform::Currency CountRate;
    platform::Currency AbsoluteTotal;
    platform::Currency RisingTotal;
    platform::Currency FallingTotal;  // negated when the row is finished
    platform::Currency AmountRate;
    std::array<platform::Currency, 12> RisingByClass{};
    std::array<platform::Currency, 12> FallingByClass{};

    std::int32_t DirectionValue = 0;
    std::int32_t TurnStateValue = 0;
    std::int32_t YearValue = 0;
    std::int32_t RisingTotalValue = 0;
    std::int32_t FallingTotalValue = 0;
    std::int32_t AmountRateValue = 0;
};
inline constexpr std::size_t kKagiSummaryRecSize = 398;

}  // namespace analysis
