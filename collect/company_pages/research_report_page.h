#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "collect/web/page_cell_table.h"
#include "marketdata/code_master.h"
#include "marketdata/multex_record.h"

namespace collect {

// The research provider's report page of a stock: `urlTemplate` with
// "@Code@" replaced by the stock's trimmed CorpCode.
std::string FillReportUrl(const std::string& urlTemplate, const marketdata::CdmRec& stock);

// The first cell, rows from `firstRow` on and in each row every column from
// 1, whose trimmed text is not blank and contains `text`: its row is
// returned and set with its column; 0 (both) when there is none.
std::int32_t FindCellContainingFrom(const PageCellTable& pageText, std::int32_t firstRow,
                                    std::string_view text, std::int32_t& row, std::int32_t& col);
std::int32_t FindCellContaining(const PageCellTable& pageText, std::string_view text,
                                std::int32_t& row, std::int32_t& col);

// The row (and column) where the report starts, at "今週のリサーチ情報"; 0
// when the page has none or says that the stock, one of the foreign
// section, has no report.
std::int32_t CheckReportPage(const PageCellTable& pageText, std::int32_t& row,
                             std::int32_t& col);

// The report page read into `rec`, a record started afresh with the stock's
// Key: the related-information name, the report's path item, the industry
// name ("ロイター業種「…」" or "マルテックス業種「…」"), the portfolio date,
// the technical and analyst information, the rating change (ParseRatingChange),
// the five report-history rows (A1 dates, A2 texts), the three valuation rows
// (B1 month, B2 and B3 values) and the seven performance rows (C1 period, C2
// to C5 values). What the page lacks stays empty.
void ParseResearchReportPage(const marketdata::CdmRec& stock, const PageCellTable& pageText,
                             marketdata::MultexRec& rec);

// Texts 11-14 from the first history text that tells of a change of the
// "マルテックス・レーティング" (compared as text): its date, the direction
// ("↑", "↓" or "？") and, from the text between "（" and "）" without "旧=",
// "新=" and blanks, the new and the old rating (the whole inner text as the
// new rating when the direction is "？"). Without such a text they stay
// empty.
void ParseRatingChange(marketdata::MultexRec& rec);

}  // namespace collect
