#include "lists/list_data.h"

namespace lists {

ListRow& ListData::AddRow(const std::string& text) {
    ListRow& row = rows.emplace_back();
    row.cells.resize(columns.size());
    if (!row.cells.empty()) row.cells[0].text = text;
    return row;
}

void AddListColumn(const std::string& caption, std::int32_t sortKind, ColumnAlign align, std::int32_t& counter,
                   std::vector<ColumnSortState>& states, ListData& list) {
    list.columns.push_back({caption, align, 0});
    ++counter;
    if (states.size() < static_cast<std::size_t>(counter)) states.resize(static_cast<std::size_t>(counter));
    states[static_cast<std::size_t>(counter - 1)] = {counter, sortKind, false, caption};
}

void SetCellText(ListRow& row, std::size_t cell, const std::string& text) {
    if (row.cells.size() <= cell) row.cells.resize(cell + 1);
    row.cells[cell].text = text;
}

}  // namespace lists
