#include "list_ui/column_chooser_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/startup/run_env.h"
#include "ui/handler_report.h"
#include "ui/qt_text.h"

namespace list_ui {

namespace {

QPushButton* MakeButton(QWidget* parent, const QString& caption, const char* name, bool shown) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setVisible(shown);
    button->setEnabled(shown);
    button->setAutoDefault(false);
    return button;
}

// The chooser row of a list item (its running number, 1-based).
std::size_t RowOf(const QTreeWidget& list, QTreeWidgetItem* item) {
    return static_cast<std::size_t>(list.indexOfTopLevelItem(item)) + 1;
}

}  // namespace

ColumnChooserDialog::ColumnChooserDialog(lists::ChooserButtons buttons, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGetDlog"));
    setWindowTitle(QStringLiteral("銘柄分析の表示項目設定"));
    setModal(true);
    resize(460, 560);
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionsClickable(false);

    CommandReadWrite = MakeButton(this, QStringLiteral("保存"), "CommandReadWrite", buttons.save);
    CommandCancel = MakeButton(this, QStringLiteral("キャンセル"), "CommandCancel", buttons.cancel);
    CommandVisTrue = MakeButton(this, QStringLiteral("全表示"), "CommandVisTrue", buttons.save);
    CommandVisFalse = MakeButton(this, QStringLiteral("全非表示"), "CommandVisFalse", buttons.save);
    CommandDelete = MakeButton(this, QStringLiteral("削除"), "CommandDelete", buttons.remove);

    auto* ticks = new QHBoxLayout;
    ticks->addWidget(CommandVisTrue);
    ticks->addWidget(CommandVisFalse);
    ticks->addStretch(1);
    auto* ends = new QHBoxLayout;
    ends->addStretch(1);
    ends->addWidget(CommandDelete);
    ends->addWidget(CommandReadWrite);
    ends->addWidget(CommandCancel);
    auto* all = new QVBoxLayout(this);
    all->addLayout(ticks);
    all->addWidget(ListView1, 1);
    all->addLayout(ends);

    connect(CommandCancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
}

ColumnChooserDialog::ColumnChooserDialog(lists::ColumnCatalogue& catalogue, QWidget* parent)
    : ColumnChooserDialog(lists::kColumnChooserButtons, parent) {
    catalogue_ = &catalogue;
    chooser_.emplace(catalogue.columns);
    FillChooserRows();
    connect(ListView1, &QTreeWidget::itemChanged, this, &ColumnChooserDialog::ListView1_ItemCheck);
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, &ColumnChooserDialog::ListView1_DblClick);
    connect(CommandReadWrite, &QPushButton::clicked, this, &ColumnChooserDialog::CommandReadWrite_Click);
    connect(CommandVisTrue, &QPushButton::clicked, this, &ColumnChooserDialog::CommandVisTrue_Click);
    connect(CommandVisFalse, &QPushButton::clicked, this, &ColumnChooserDialog::CommandVisFalse_Click);
}

ColumnChooserDialog::ColumnChooserDialog(const lists::ListData& sample, QWidget* parent)
    : ColumnChooserDialog(lists::kStoredConditionsButtons, parent) {
    QStringList headers;
    for (const lists::ListColumn& column : sample.columns) headers << ui::ToQt(column.caption);
    ListView1->setHeaderLabels(headers);
    for (const lists::ListRow& row : sample.rows) {
        auto* item = new QTreeWidgetItem(ListView1);
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const lists::ListCell& cell = row.cells[c];
            item->setText(static_cast<int>(c), ui::ToQt(cell.text));
            item->setForeground(static_cast<int>(c), QColor(cell.colour.red, cell.colour.green, cell.colour.blue));
        }
    }
    for (int c = 0; c < ListView1->columnCount(); ++c) ListView1->resizeColumnToContents(c);
}

void ColumnChooserDialog::FillChooserRows() {
    const QSignalBlocker quiet(ListView1);
    ListView1->clear();
    ListView1->setHeaderLabels({QStringLiteral("表示有無"), QStringLiteral("項目名")});
    for (std::size_t row = 1; row <= chooser_->RowCount(); ++row) {
        auto* item = new QTreeWidgetItem(ListView1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setText(0, ui::ToQt(chooser_->RowText(row)));
        item->setText(1, ui::ToQt(chooser_->RowCaption(row)));
    }
    ShowTicks();
    for (int c = 0; c < ListView1->columnCount(); ++c) ListView1->resizeColumnToContents(c);
}

void ColumnChooserDialog::ShowTicks() {
    const QSignalBlocker quiet(ListView1);
    for (std::size_t row = 1; row <= chooser_->RowCount(); ++row) {
        ListView1->topLevelItem(static_cast<int>(row - 1))
            ->setCheckState(0, chooser_->Checked(row) ? Qt::Checked : Qt::Unchecked);
    }
}

void ColumnChooserDialog::ListView1_ItemCheck(QTreeWidgetItem* item) {
    ListView1->setCurrentItem(item);
    chooser_->SetChecked(RowOf(*ListView1, item), item->checkState(0) == Qt::Checked);
}

void ColumnChooserDialog::ListView1_DblClick(QTreeWidgetItem* item) {
    chooser_->Toggle(RowOf(*ListView1, item));
    ShowTicks();
}

void ColumnChooserDialog::CommandVisTrue_Click() {
    chooser_->ShowAll();
    ShowTicks();
}

void ColumnChooserDialog::CommandVisFalse_Click() {
    chooser_->HideAll();
    ShowTicks();
}

void ColumnChooserDialog::CommandReadWrite_Click() {
    ui::RunHandler("frmGetDlog_CommandReadWrite_Click", [this] {
        common::EnvRec env;
        common::CCENV00M(env);
        if (chooser_->Save(env, *catalogue_)) done(QDialog::Accepted);
    });
}

// The window's close box and the Escape key do nothing: the dialog ends
// through its buttons, and the sample list always offers "キャンセル".
void ColumnChooserDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

void ColumnChooserDialog::reject() {}

}  // namespace list_ui
