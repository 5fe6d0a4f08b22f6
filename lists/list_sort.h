#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lists/list_data.h"

namespace lists {

// The sort-mode options of a list screen, by option index: 1 " 昇順" always
// ascending, 2 " 降順" always descending, 3 " タイトル押下で切替" (or none)
// reverses the column's last direction on every click, starting ascending.
enum class SortMode { Ascending = 1, Descending = 2, Toggle = 3 };

// The column-click sort. `clickedColumn` is the 1-based header index. The
// hidden key column (or any index past it) leaves the list as it is. Column
// 1 and text columns sort by their text compared as text (common's one
// normaliser), stably; numeric columns (sort kind 1 or more) through
// SortListByNumber. Updates the column's lastAscending.
void SortListByColumn(std::vector<ColumnSortState>& states, SortMode mode, std::size_t clickedColumn, ListData& list);

// The numeric sort of cell `sortedCell`: each cell's text, trimmed and
// without "%", is a number or text. Numbers come first in numeric order
// (any size; ties of values >= 0 keep their order ascending and are reversed
// descending, ties below zero the other way round), then every text cell,
// empty ones included, in its previous order. The rank of each row is
// written into cell `keyCell` (group digit and 8-digit rank, as WriteRankKey)
// and the rows are put in that order.
void SortListByNumber(std::size_t sortedCell, std::size_t keyCell, bool ascending, ListData& list);

// Adds 1 to `rank` and writes `groupDigit` followed by the rank as eight
// digits into cell `keyCell` of row `itemIndex` (1-based).
void WriteRankKey(const std::string& groupDigit, std::size_t keyCell, std::size_t itemIndex, ListData& list,
                  long& rank);

}  // namespace lists
