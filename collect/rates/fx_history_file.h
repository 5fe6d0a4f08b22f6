#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"

namespace collect {

// One line of a currency's history file: the currency code of the page, the
// date "yyyy/mm/dd" and the rate texts in the order of kRateCodes.
struct FxHistoryRec {
    std::string Currency;
    std::string Date;
    std::array<std::string, 7> Rates;
};

// The date a history without rows counts as reaching.
inline constexpr const char* kNoFxHistoryDate = "1900/01/01";

inline constexpr std::size_t kFxHistoryFieldCount = 9;

// The history line of a row: its nine fields as RatesLine writes them.
std::string FxHistoryRecToLine(const FxHistoryRec& rec);

// Reads a line of exactly nine fields; false, and nothing changed, otherwise.
bool LineToFxHistoryRec(std::string_view line, FxHistoryRec& rec);

// The stored rows of the history file of `namePart` and `extension` (blank:
// the number's default), in currency and date order; none when the file is
// missing. Blank lines are skipped, a line of another field count is logged
// and skipped.
void LoadFxHistory(common::EnvRec& env, const std::string& namePart, const std::string& extension,
                   std::vector<FxHistoryRec>& rows);

// Lines of rows 1..n.
void CFEXC51M(long n, const std::vector<FxHistoryRec>& rows, std::vector<std::string>& lines);

// Sorts history lines on the currency code (characters 1-3), then the date
// (characters 5-14).
void CFEXCS1M(std::vector<std::string>& lines);

// Merges the new lines of base + workExt into the history base + masterExt,
// a new line replacing a stored one of the same currency and date, and puts
// the result in place of the history in one rename.
void CFEXCR0M(const std::string& base, const std::string& workExt, const std::string& masterExt,
              common::EnvRec& env, common::MSGRec& msg);

}  // namespace collect
