#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/files/env_rec.h"

namespace lists {

// One column definition of the stock-analysis list: which value of an
// analysis row it shows (ColNo, 1-105), how its cells are written
// (CellType), whether it is offered in the selection conditions, and
// whether it is shown.
struct ListColumnRec {
    std::int32_t ColNo = 0;
    std::int32_t SeqNo = 0;
    std::int32_t Reserved = 0;  // 1: never offered, never shown
    std::int32_t Hidden = 0;    // 1: not shown; the column chooser edits it
    std::string Spare;          // carried unchanged
    std::int32_t CellType = 0;
    std::int32_t CondItem = 0;
    std::int32_t CondList = 0;   // a condition chooses among the column's values
    std::int32_t CondRange = 0;  // a condition is a from-to range
    std::int32_t CondDate = 0;   // a condition is a from-to range of dates
    std::int32_t FreeText = 0;
    std::int32_t CompanionCol = 0;  // 0, or the position of a value shown after ":"
    std::string Caption;

    friend bool operator==(const ListColumnRec&, const ListColumnRec&) = default;
};

// Cell types.
inline constexpr std::int32_t kCellText = 1;
inline constexpr std::int32_t kCellPct = 2;
inline constexpr std::int32_t kCellDec3 = 3;
inline constexpr std::int32_t kCellDec3Signed = 4;
inline constexpr std::int32_t kCellInt = 5;
inline constexpr std::int32_t kCellIntSigned = 6;
inline constexpr std::int32_t kCellDec5 = 7;
inline constexpr std::int32_t kCellLongText = 11;
inline constexpr std::int32_t kCellDigits8 = 12;
inline constexpr std::int32_t kCellPlain = 13;
inline constexpr std::int32_t kCellBuySell = 51;
inline constexpr std::int32_t kCellTurnKind = 52;
inline constexpr std::int32_t kCellRuleSet = 53;

inline constexpr long kCatalogueFileNumber = 30003;
inline constexpr std::size_t kCatalogueMaxRecords = 20000;
inline constexpr std::int32_t kAnalysisPositions = 105;
inline constexpr const char* kCompanyCodeCaption = "企業ｺｰﾄﾞ";

// The loaded catalogue (row n is columns[n - 1]) and what its read
// publishes: the row of the 企業ｺｰﾄﾞ column and that row's CompanionCol.
// A read that finds no such row leaves both as they were.
struct ColumnCatalogue {
    std::vector<ListColumnRec> columns;
    std::size_t companyCodeRow = 0;
    std::int32_t companyCodeCompanion = 0;
};

// The 105 built-in rows.
std::vector<ListColumnRec> BuildDefaultColumns();

// Reads the catalogue file (name part `namePart`, callers pass ""), at most
// 20000 records; a torn last record is dropped and logged. A missing file or
// one without a whole record is replaced by the defaults; a file that cannot
// be read is logged and left as it is, and the defaults are used in memory.
// Returns true.
bool CFMCT10M(common::EnvRec& env, const std::string& namePart, ColumnCatalogue& catalogue);

// Replaces the catalogue file with `columns` in order (the old file stays
// whole until the new one is complete). No record writes nothing.
void CFMCT50M(common::EnvRec& env, const std::string& namePart, std::span<const ListColumnRec> columns);

// Fills `columns` with the defaults and writes them.
void WriteDefaultColumns(common::EnvRec& env, const std::string& namePart, std::vector<ListColumnRec>& columns);

// The lists the screens derive from a catalogue, as 1-based catalogue rows in
// catalogue order, reserved rows left out.
struct ColumnLists {
    std::vector<std::size_t> selectable;
    std::vector<std::size_t> condItems;
    std::vector<std::size_t> condList;   // condition 1 kinds
    std::vector<std::size_t> condRange;  // condition 2 kinds: ranges and date ranges
};
ColumnLists DeriveColumnLists(std::span<const ListColumnRec> columns);

}  // namespace lists
