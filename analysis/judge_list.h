#pragma once
#include <cstdint>
#include <string>

#include "analysis/kagi_judge_rec.h"

namespace analysis {

// The gather line of a sort text for sequence number n: sort text & "@" & n
// as eight digits.
std::string GatherLine(const std::string& sortText, long n);

// The complemented key of a rule word: the three upper-case hex digits of
// 4095 - (word & 4095), so a larger word sorts first.
std::string ComplementKey(std::int32_t word);

// The result class of a result magnitude: its rounded tenth raised to the
// next whole step when below it, at most 11 (0 -> 0, 5 -> 1, 20.3 -> 3).
std::int32_t ResultClass(const platform::Currency& magnitude);

// Sets the derived keys, marks and result figures of `rec.List` for the
// record's position n. The own index, level rows and copies stay as they are.
void DeriveJudgeList(KagiJudgeRec& rec, long n);

// Copies the stored index, level rows, market, direction, turn state and
// combined rule set into `rec.List`.
void CopyStoredIntoList(KagiJudgeRec& rec);

}  // namespace analysis
