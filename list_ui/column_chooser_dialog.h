#pragma once
#include <QDialog>
#include <optional>

#include "lists/column_chooser.h"
#include "lists/list_data.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace list_ui {

// The dialog `frmGetDlog`. As the column chooser it lists every selectable
// column of the catalogue with a tick for "shown" and saves the choice into
// the catalogue file. The stock list also shows its stored-conditions
// sample in it; then it offers only "キャンセル" and can never write the
// catalogue. It closes only through its buttons.
class ColumnChooserDialog : public QDialog {
    Q_OBJECT
public:
    // The column chooser over the loaded catalogue; a save writes the file and
    // reads `catalogue` again.
    explicit ColumnChooserDialog(lists::ColumnCatalogue& catalogue, QWidget* parent = nullptr);
    // The sample list of stored conditions.
    explicit ColumnChooserDialog(const lists::ListData& sample, QWidget* parent = nullptr);

    QTreeWidget* ListView1 = nullptr;
    QPushButton* CommandReadWrite = nullptr;
    QPushButton* CommandCancel = nullptr;
    QPushButton* CommandVisTrue = nullptr;
    QPushButton* CommandVisFalse = nullptr;
    QPushButton* CommandDelete = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    ColumnChooserDialog(lists::ChooserButtons buttons, QWidget* parent);
    void FillChooserRows();
    void ShowTicks();
    void ListView1_ItemCheck(QTreeWidgetItem* item);
    void ListView1_DblClick(QTreeWidgetItem* item);
    void CommandReadWrite_Click();
    void CommandVisTrue_Click();
    void CommandVisFalse_Click();

    lists::ColumnCatalogue* catalogue_ = nullptr;
    std::optional<lists::ColumnChooser> chooser_;
};

}  // namespace list_ui
