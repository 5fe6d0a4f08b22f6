#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "charts/drawing_list.h"

namespace lists {

// The result lists as plain data: the screens show it through item views and
// never hold rows of their own, so every sort and fill is tested here.

enum class ColumnAlign { Default, Left, Right, Centre };

// One column header. A width of 0 asks the screen to size the column itself;
// the hidden key column (always the last) stays at width 0.
struct ListColumn {
    std::string caption;
    ColumnAlign align = ColumnAlign::Default;
    int width = 0;
};

// One cell: its text and foreground colour (black unless a writer set one).
struct ListCell {
    std::string text;
    charts::Rgb colour;
};

// One row: cell 0 is the item's own text (column 1), cell n the sub-item n.
// A row has a cell for every column, the hidden key column included.
struct ListRow {
    std::vector<ListCell> cells;
};

struct ListData {
    std::vector<ListColumn> columns;
    std::vector<ListRow> rows;

    // Appends a row with an empty cell per column and `text` in cell 0.
    ListRow& AddRow(const std::string& text);
    // Number of the hidden key column's cell: the number of columns - 1.
    std::size_t KeyCell() const { return columns.size() - 1; }
};

// The sort state of one column, kept by the screen per list. `sortKind`
// below 1 sorts as text, 1 or more as numbers; `lastAscending` tells the
// direction of the column's last sort (false when the column was added).
struct ColumnSortState {
    std::int32_t columnNumber = 0;
    std::int32_t sortKind = 0;
    bool lastAscending = false;
    std::string caption;
};

// Sort kinds of AddListColumn.
inline constexpr std::int32_t kSortAsText = 0;
inline constexpr std::int32_t kSortAsNumber = 1;

// Appends a header to `list` and its sort state: the counter goes up by one
// and `states[counter - 1]` (column number = counter) gets the kind and
// caption with lastAscending false. `states` grows as needed. A column added
// with ColumnAlign::Default keeps the caption's default width and alignment.
void AddListColumn(const std::string& caption, std::int32_t sortKind, ColumnAlign align, std::int32_t& counter,
                   std::vector<ColumnSortState>& states, ListData& list);

// Writes `text` unchanged into cell `cell` of `row`.
void SetCellText(ListRow& row, std::size_t cell, const std::string& text);

// The header of the hidden key column of every list.
inline constexpr const char* kSortKeyCaption = "ソート用カラム";

}  // namespace lists
