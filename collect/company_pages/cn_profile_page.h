#pragma once
#include <cstdint>

#include "collect/web/page_cell_table.h"
#include "marketdata/code_master.h"
#include "marketdata/company_profile.h"

namespace collect {

// Finds the profile on a Chinese company page: it starts in the row below
// the first cell that contains "証券コード", in that cell's column; returns
// the start row, or 0 when the page says that there is no such company or
// has no profile.
std::int32_t CheckChinaProfilePage(const PageCellTable& pageText, std::int32_t& startRow,
                                   std::int32_t& startCol);

// Reads the labelled values from the start row and column on into `profile`
// (its Key taken from the company), splitting the values that carry two
// fields.
void ParseChinaProfile(const marketdata::CdmRec& company, marketdata::CpiRec& profile, const PageCellTable& pageText,
                       std::int32_t startRow, std::int32_t startCol);

}  // namespace collect
