#include "list_ui/list_view.h"

#include <QHeaderView>

#include "list_ui/list_model.h"

namespace list_ui {

ListView::ListView(const QString& name, QWidget* parent) : QTreeView(parent), model_(new ListModel(this)) {
    setObjectName(name);
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setAlternatingRowColors(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Sorting is the list's own, by the column-click routine, never the
    // view's; turning the view's off also makes the headers unclickable, so
    // they are made clickable after it.
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
}

void ListView::ShowList(lists::ListData list, std::vector<lists::ColumnSortState> states) {
    states_ = std::move(states);
    model_->SetList(std::move(list));
    const int columns = model_->columnCount();
    for (int c = 0; c < columns; ++c) {
        const bool key = c == columns - 1;
        setColumnHidden(c, key);
        if (!key) resizeColumnToContents(c);
    }
}

void ListView::Clear() {
    states_.clear();
    model_->SetList({});
}

void ListView::SortByHeader(lists::SortMode mode, int section) {
    if (section < 0) return;
    // The rows move under the selection; a stale choice would name another row.
    setCurrentIndex({});
    clearSelection();
    model_->Rearrange([&](lists::ListData& list) {
        lists::SortListByColumn(states_, mode, static_cast<std::size_t>(section) + 1, list);
    });
}

const lists::ListData& ListView::list() const { return model_->list(); }

const lists::ListRow* ListView::CurrentRow() const {
    const QModelIndex index = currentIndex();
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= list().rows.size()) return nullptr;
    return &list().rows[static_cast<std::size_t>(index.row())];
}

}  // namespace list_ui
