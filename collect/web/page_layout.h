#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "collect/web/html_items.h"
#include "collect/web/page_cell_table.h"

namespace collect {

// Lays the items out on a grid by their table, row, cell and line-break tags
// (each item gets Col, Row and Class) and sets the counts to the largest
// column and row that an item other than a closing table-structure tag uses,
// at least 1. Nesting is walked with an explicit stack, so no page can
// exhaust the call stack.
void LayoutHtmlItems(HtmlItems& items, std::int32_t& colCount, std::int32_t& rowCount);

// Sizes both tables and fills them: every kept text at its position in
// `pageText` (references decoded), every link value in `pageLink`.
void FillPageCellTables(const HtmlItems& items, std::int32_t colCount, std::int32_t rowCount,
                        PageCellTable& pageText, PageCellTable& pageLink);

// Replaces every numeric reference "&#digits;" (or "&#xhex;") by the Unicode
// character it names; a malformed one stays as it is.
std::string DecodeNumericRefs(std::string_view text);

}  // namespace collect
