#pragma once
#include <QAbstractTableModel>
#include <functional>

#include "lists/list_data.h"

namespace list_ui {

// A result list as a Qt table model. The rows stay plain list data, so that
// every fill and sort is the tested one; the model only shows them, the
// hidden key column included (the view hides it).
class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetList(lists::ListData list);
    const lists::ListData& list() const { return list_; }
    // Runs `change` over the rows (a sort) and tells the views.
    void Rearrange(const std::function<void(lists::ListData&)>& change);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    lists::ListData list_;
};

}  // namespace list_ui
