#pragma once
#include <cstdint>

#include "collect/web/page_cell_table.h"
#include "marketdata/code_master.h"
#include "marketdata/company_profile.h"

namespace collect {

// Finds the profile on a Japanese company-profile page: the first cell that
// contains "会社概要" gives the start row and column and the start row is
// returned; 0 when the page says that there is no such company or has no
// profile. The company name, the cell below the search box, goes to text
// field 1 of `profile`.
std::int32_t CheckJapanProfilePage(const PageCellTable& pageText, marketdata::CpiRec& profile,
                                   std::int32_t& startRow, std::int32_t& startCol);

// Reads the labelled values from the start row and column on into `profile`
// (its Key taken from the company) and brings them into the forms the
// company files keep.
void ParseJapanProfile(const marketdata::CdmRec& company, marketdata::CpiRec& profile, const PageCellTable& pageText,
                       std::int32_t startRow, std::int32_t startCol);

}  // namespace collect
