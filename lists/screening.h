#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "charts/chart_target.h"
#include "common/files/analysis_record.h"
#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "lists/column_catalogue.h"
#include "lists/list_data.h"
#include "platform/date.h"

namespace lists {

inline constexpr std::size_t kConditionRows = 5;
inline constexpr const char* kEnterNumberMessage = "数値を入力してください。　";
inline constexpr const char* kDuplicateKindMessage = "同じ値を重複して選択する事は出来ません。";
// The condition-1 kind whose choices are currency codes.
inline constexpr const char* kCurrencyKind = "取引通貨";

// One row of condition 1: the kind (a catalogue caption, "" for none) and the
// chosen choice-list item ("" for none).
struct CodeCondition {
    std::string kind;
    std::string choice;
};

// One row of condition 2: the kind and the From and To texts.
struct RangeCondition {
    std::string kind;
    std::string from;
    std::string to;
};

// The screen's conditions, rows 1-5 at [0] to [4].
struct ScreeningConditions {
    std::array<CodeCondition, kConditionRows> code;
    std::array<RangeCondition, kConditionRows> range;
};

// True when a From or To text may stand: blank after trimming, or a number
// within the fixed-point range. Otherwise the screen shows
// kEnterNumberMessage and keeps the focus in the box.
bool IsRangeBoundText(const std::string& text);

// True when `kinds[k]` (0-based row) is not blank and another row holds the
// same kind, compared as text: the screen then shows kDuplicateKindMessage
// and returns the row to blank.
bool KindUsedInOtherRow(std::span<const std::string> kinds, std::size_t k);

// The choice list of a condition-1 kind: bare country codes for "国", "code:name"
// items for 投資区分, 取引通貨, 転換方向 and 転換状態, and the index rows of
// category 0020-0060 for 市場, 市場・詳細, ｾｸﾀｰ, 業種 and ﾛｲﾀｰ (their company code
// ":" and name, by the catalogue's 企業ｺｰﾄﾞ column and its companion); any
// other kind has no choice.
std::vector<std::string> ChoiceItems(const std::string& kind, const ColumnCatalogue& catalogue,
                                     std::span<const common::AnalysisRec> indexRows);

// The filters over the work list, each keeping the passing rows in order and
// returning how many are left. A row's value is its trimmed field at
// `position` (blank outside 1-105). FilterByCode keeps values equal to
// `code`; the range filters keep numeric values within the inclusive bounds
// (blank, non-numeric and out-of-range values never pass). Bounds must pass
// IsRangeBoundText and not be blank.
std::size_t FilterByCode(common::MSGRec& msg, std::int32_t position, const std::string& code,
                         std::vector<common::AnalysisRec>& rows);
// FilterByCode for the kind 取引通貨: keeps the stocks whose currency
// (StockCurrencyCode of the value and the country at position 1) is `code`,
// whichever form of it the collector stored.
std::size_t FilterByCurrency(common::MSGRec& msg, std::int32_t position, const std::string& code,
                             std::vector<common::AnalysisRec>& rows);
std::size_t FilterByRange(common::MSGRec& msg, std::int32_t position, const std::string& from, const std::string& to,
                          std::vector<common::AnalysisRec>& rows);
std::size_t FilterFrom(common::MSGRec& msg, std::int32_t position, const std::string& from,
                       std::vector<common::AnalysisRec>& rows);
std::size_t FilterTo(common::MSGRec& msg, std::int32_t position, const std::string& to,
                     std::vector<common::AnalysisRec>& rows);

// The screening list of `rows`: "№", the catalogue's shown columns (neither
// reserved nor hidden) in catalogue order, the hidden key column. Row i's
// text and key are i as "000000", naming row i of `rows` also after a sort.
// A column whose ColNo or CompanionCol lies outside 1-105 gets blank cells
// (logged once per fill).
ListData FillScreeningList(common::MSGRec& msg, std::span<const common::AnalysisRec> rows,
                           std::span<const ListColumnRec> columns, std::vector<ColumnSortState>& states);

enum class ScreeningOutcome {
    Listed,          // `list` holds the rows
    NoAnalysisInfo,  // told to the user
    NothingLeft,     // told to the user
    OverLimit,       // more rows than Common\ListMax; told to the user
    BadBound,        // a From or To text refused: the caller shows kEnterNumberMessage
};

// What a listed row needs to open its chart: its analysis row's country,
// category and company code (positions 1, 2 and 8) as stored.
struct ListedStock {
    std::string country;
    std::string category;
    std::string companyCode;
};

struct ScreeningResult {
    ScreeningOutcome outcome = ScreeningOutcome::Listed;
    std::vector<ListedStock> rows;  // empty unless Listed; list row text i names rows[i - 1]
    ListData list;                  // empty unless Listed
    std::size_t badRow = 0;         // BadBound: the 0-based condition row
    bool badBoundIsTo = false;      // BadBound: the To box, else the From box
};

// The screening run: loads the analysis information and its index (files
// 30001 and 30002) when they are not in memory, narrows every stock by the
// conditions (each kind found by its catalogue ColNo) and lists what is left
// when it is no more than Common\ListMax (empty or not numeric: 0). Progress
// in 7 stages through `msg`.
ScreeningResult ScreenAnalysisInfo(common::EnvRec& env, common::MSGRec& msg, const ColumnCatalogue& catalogue,
                                   const ScreeningConditions& conditions, std::vector<ColumnSortState>& states);

// The chart target of the list row whose text is `rowText`. nullopt when the
// text names no row of `rows`, or, told to the user, when the company has no
// name-index record.
std::optional<charts::ChartTarget> ScreeningRowChartTarget(common::EnvRec& env, const std::string& rowText,
                                                           std::span<const ListedStock> rows);

// The sample list that "保存" and "読込" show: headers 日付, 時刻 and 保存名称,
// and 30 rows dated `today` minus 1 to 30 days with "jikoku" in blue and
// "Name" in red. Nothing is stored or read.
ListData StoredConditionsSample(const platform::Date& today);

}  // namespace lists
