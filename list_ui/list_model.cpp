#include "list_ui/list_model.h"

#include <QColor>

#include "ui/qt_text.h"

namespace list_ui {

namespace {

Qt::Alignment AlignmentOf(lists::ColumnAlign align) {
    switch (align) {
        case lists::ColumnAlign::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case lists::ColumnAlign::Centre:
            return Qt::AlignCenter;
        case lists::ColumnAlign::Default:
        case lists::ColumnAlign::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

void ListModel::SetList(lists::ListData list) {
    beginResetModel();
    list_ = std::move(list);
    endResetModel();
}

void ListModel::Rearrange(const std::function<void(lists::ListData&)>& change) {
    emit layoutAboutToBeChanged();
    change(list_);
    emit layoutChanged();
}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.rows.size());
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.columns.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const lists::ListRow& row = list_.rows[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<std::size_t>(index.column());
    if (column >= row.cells.size()) return {};
    const lists::ListCell& cell = row.cells[column];
    switch (role) {
        case Qt::DisplayRole:
            return ui::ToQt(cell.text);
        case Qt::ForegroundRole:
            return QColor(cell.colour.red, cell.colour.green, cell.colour.blue);
        case Qt::TextAlignmentRole:
            // The item's own text (column 1) always stands at the left, as in a report list.
            return column == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                               : QVariant(AlignmentOf(list_.columns[column].align));
        default:
            return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    const lists::ListColumn& column = list_.columns[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) return ui::ToQt(column.caption);
    if (role == Qt::TextAlignmentRole) return QVariant(AlignmentOf(column.align));
    return {};
}

}  // namespace list_ui
