#pragma once
#include <QTreeView>
#include <vector>

#include "lists/list_data.h"
#include "lists/list_sort.h"

namespace list_ui {

class ListModel;

// A report-style list (`ListView1`, ...) over plain list data, with the sort
// state of its columns. The hidden key column stays in the model and is
// never shown; the other columns fit their header and contents.
class ListView : public QTreeView {
    Q_OBJECT
public:
    ListView(const QString& name, QWidget* parent);

    void ShowList(lists::ListData list, std::vector<lists::ColumnSortState> states);
    // Empties the headers and the rows.
    void Clear();
    // The column-click sort of header `section` (0-based) in `mode`.
    void SortByHeader(lists::SortMode mode, int section);

    const lists::ListData& list() const;
    // The row of the current item, or nullptr when no row is chosen.
    const lists::ListRow* CurrentRow() const;

private:
    ListModel* model_;
    std::vector<lists::ColumnSortState> states_;
};

}  // namespace list_ui
