#include "list_ui/stock_list_screen.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "chart_ui/chart_window.h"
#include "common/logs/message_box.h"
#include "common/logs/message_style.h"
#include "common/startup/run_env.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "list_ui/chart_opening.h"
#include "list_ui/column_chooser_dialog.h"
#include "list_ui/list_progress.h"
#include "list_ui/list_view.h"
#include "ui/screen_guard.h"
#include "platform/date.h"
#include "ui/handler_report.h"
#include "ui/qt_text.h"

namespace list_ui {

namespace {

constexpr const char* kSection = "KsnMng";

std::string KeyPath(const char* key) { return common::SettingKeyPath(kSection, key); }

std::int16_t RowIndex(std::size_t k) { return static_cast<std::int16_t>(k + 1); }

std::string RowSetting(const char* key, std::size_t k) {
    return common::ReadSetting(common::IndexedKeyPath(KeyPath(key), RowIndex(k)));
}

void WriteRowSetting(const char* key, std::size_t k, const std::string& value) {
    common::WriteIndexedSetting(KeyPath(key), RowIndex(k), value);
}

template <typename Control>
Control* Named(Control* control, const QString& name) {
    control->setObjectName(name);
    return control;
}

QString Indexed(const char* name, std::size_t k) { return QString::fromLatin1(name) + QString::number(k + 1); }

std::string Text(const QComboBox& combo) { return ui::FromQt(combo.currentText()); }

// The kinds' captions as the kind combos list them: a blank item first.
void FillKinds(QComboBox& combo, const std::vector<lists::ListColumnRec>& columns,
               const std::vector<std::size_t>& rows) {
    combo.clear();
    combo.addItem(QString());
    for (const std::size_t row : rows) combo.addItem(ui::ToQt(columns[row - 1].Caption));
}

// The saved kind, or the blank item when the catalogue no longer offers it.
void SelectKind(QComboBox& combo, const std::string& saved) {
    combo.setCurrentIndex(std::max(0, combo.findText(ui::ToQt(saved))));
}

// Room for three whole choices: the box shows the chosen one with its
// neighbours and never a cut line.
int ChoiceBoxHeight(QListWidget& box) {
    box.addItem(QStringLiteral("0"));
    const int row = box.sizeHintForRow(0);
    box.clear();
    return 3 * row + 2 * box.frameWidth();
}

}  // namespace

StockListScreen::StockListScreen(lists::ColumnCatalogue& catalogue, chart_ui::ChartWindow& chart, QWidget* parent)
    : QWidget(parent), catalogue_(catalogue), chart_(chart) {
    setObjectName(QStringLiteral("frmGetList"));
    setWindowTitle(QStringLiteral("銘柄分析"));
    resize(1180, 760);
    BuildConditionAreas();
    Command1 = Named(new QPushButton(QStringLiteral("抽　出"), this), QStringLiteral("Command1"));
    ListView1 = new ListView(QStringLiteral("ListView1"), this);
    OptSort = BuildSortOptions(*this, QStringLiteral("FrameSort"), QStringLiteral("ソート順"),
                               QStringLiteral("OptSort"), KeyPath("MngSrtAD"), "frmGetList_OptSort_Click");
    Command3 = Named(new QPushButton(QStringLiteral("表示項目選択"), this), QStringLiteral("Command3"));
    Command7 = Named(new QPushButton(QStringLiteral("保存"), this), QStringLiteral("Command7"));
    Command6 = Named(new QPushButton(QStringLiteral("読込"), this), QStringLiteral("Command6"));
    LayoutScreen();
    ui::RunHandler("frmGetList_Form_Load", [this] { LoadConditions(); });
    ConnectHandlers();
}

void StockListScreen::BuildConditionAreas() {
    Frame2 = Named(new QGroupBox(QStringLiteral(" 抽出条件１ （コード系の抽出） "), this), QStringLiteral("Frame2"));
    Command2 = Named(new QPushButton(QStringLiteral("条件1ｸﾘｱ"), Frame2), QStringLiteral("Command2"));
    Frame5 = Named(new QGroupBox(QStringLiteral(" 抽出条件２ （金額・日付・％等の数値系の範囲指定） "), this),
                   QStringLiteral("Frame5"));
    Command4 = Named(new QPushButton(QStringLiteral("条件2ｸﾘｱ"), Frame5), QStringLiteral("Command4"));
    auto* codes = new QGridLayout(Frame2);
    auto* ranges = new QGridLayout(Frame5);
    for (std::size_t k = 0; k < lists::kConditionRows; ++k) {
        const int line = static_cast<int>(k);
        Combo02[k] = Named(new QComboBox(Frame2), Indexed("Combo02", k));
        Combo02[k]->setMinimumContentsLength(10);
        ListBox01[k] = Named(new QListWidget(Frame2), Indexed("ListBox01", k));
        ListBox01[k]->setUniformItemSizes(true);
        ListBox01[k]->setFixedHeight(ChoiceBoxHeight(*ListBox01[k]));
        ListBox01[k]->setMinimumWidth(220);
        codes->addWidget(Combo02[k], line, 0, Qt::AlignTop);
        codes->addWidget(ListBox01[k], line, 1);

        Combo03[k] = Named(new QComboBox(Frame5), Indexed("Combo03", k));
        Combo03[k]->setMinimumContentsLength(12);
        Label3[k] = Named(new QLabel(QStringLiteral("From"), Frame5), Indexed("Label3", k));
        TextFrom01[k] = Named(new QLineEdit(Frame5), Indexed("TextFrom01", k));
        Label4[k] = Named(new QLabel(QStringLiteral("   To"), Frame5), Indexed("Label4", k));
        TextTo01[k] = Named(new QLineEdit(Frame5), Indexed("TextTo01", k));
        for (QLineEdit* box : {TextFrom01[k], TextTo01[k]}) {
            box->setAlignment(Qt::AlignRight);
            box->setMaximumWidth(130);
            box->installEventFilter(this);
        }
        ranges->addWidget(Combo03[k], line, 0);
        ranges->addWidget(Label3[k], line, 1);
        ranges->addWidget(TextFrom01[k], line, 2);
        ranges->addWidget(Label4[k], line, 3);
        ranges->addWidget(TextTo01[k], line, 4);
    }
    const int below = static_cast<int>(lists::kConditionRows);
    codes->addWidget(Command2, below, 1, Qt::AlignRight);
    ranges->addWidget(Command4, below, 4, Qt::AlignRight);
    ranges->setRowStretch(below + 1, 1);
}

void StockListScreen::LayoutScreen() {
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(OptSort.frame);
    buttons->addWidget(Command3);
    buttons->addWidget(Command7);
    buttons->addWidget(Command6);
    buttons->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(Frame2);
    top->addWidget(Frame5);
    top->addLayout(buttons);
    top->addStretch(1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(ListView1, 1);
}

void StockListScreen::LoadConditions() {
    const lists::ColumnLists lists = lists::DeriveColumnLists(catalogue_.columns);
    for (std::size_t k = 0; k < lists::kConditionRows; ++k) {
        const QSignalBlocker quietKind(Combo02[k]);
        const QSignalBlocker quietChoice(ListBox01[k]);
        const QSignalBlocker quietRange(Combo03[k]);
        FillKinds(*Combo02[k], catalogue_.columns, lists.condList);
        SelectKind(*Combo02[k], RowSetting("MngSel1", k));
        FillChoices(k);
        const QList<QListWidgetItem*> saved =
            ListBox01[k]->findItems(ui::ToQt(RowSetting("MngSel1Lst", k)), Qt::MatchExactly);
        if (!saved.isEmpty()) ListBox01[k]->setCurrentItem(saved.front());
        FillKinds(*Combo03[k], catalogue_.columns, lists.condRange);
        SelectKind(*Combo03[k], RowSetting("MngSel2", k));
        TextFrom01[k]->setText(ui::ToQt(RowSetting("MngSel2Fm", k)));
        TextTo01[k]->setText(ui::ToQt(RowSetting("MngSel2To", k)));
    }
}

void StockListScreen::ConnectHandlers() {
    for (std::size_t k = 0; k < lists::kConditionRows; ++k) {
        connect(Combo02[k], &QComboBox::currentIndexChanged, this,
                [this, k] { ui::RunHandler("frmGetList_Combo02_Click", [&] { Combo02_Click(k); }); });
        connect(ListBox01[k], &QListWidget::currentTextChanged, this, [k](const QString& text) {
            ui::RunHandler("frmGetList_ListBox01_Click", [&] { WriteRowSetting("MngSel1Lst", k, ui::FromQt(text)); });
        });
        connect(Combo03[k], &QComboBox::currentIndexChanged, this,
                [this, k] { ui::RunHandler("frmGetList_Combo03_Click", [&] { Combo03_Click(k); }); });
    }
    connect(Command1, &QPushButton::clicked, this, &StockListScreen::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &StockListScreen::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &StockListScreen::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &StockListScreen::Command3_Click);
    connect(Command6, &QPushButton::clicked, this, &StockListScreen::ShowStoredConditions);
    connect(Command7, &QPushButton::clicked, this, &StockListScreen::ShowStoredConditions);
    connect(ListView1, &QAbstractItemView::doubleClicked, this, &StockListScreen::ListView1_DblClick);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, [this](int section) {
        ui::RunGuarded("frmGetList_ListView1_ColumnClick", [&] {
            const ui::ScreenDisabled disabled(*ListView1);
            ListView1->SortByHeader(OptSort.Mode(), section);
        });
    });
}

void StockListScreen::FillChoices(std::size_t k) {
    const QSignalBlocker quiet(ListBox01[k]);
    ListBox01[k]->clear();
    for (const std::string& item :
         lists::ChoiceItems(Text(*Combo02[k]), catalogue_, common::State().analysisIndexTable))
        ListBox01[k]->addItem(ui::ToQt(item));
}

void StockListScreen::Combo02_Click(std::size_t k) {
    WriteRowSetting("MngSel1", k, Text(*Combo02[k]));
    std::vector<std::string> kinds;
    for (const QComboBox* combo : Combo02) kinds.push_back(Text(*combo));
    if (lists::KindUsedInOtherRow(kinds, k)) {
        common::ShowWarning(lists::kDuplicateKindMessage, common::msg_style::kExclamation);
        Combo02[k]->setCurrentIndex(0);
    }
    // A blank kind, or one taken back, has no choices.
    FillChoices(k);
}

void StockListScreen::Combo03_Click(std::size_t k) {
    WriteRowSetting("MngSel2", k, Text(*Combo03[k]));
    std::vector<std::string> kinds;
    for (const QComboBox* combo : Combo03) kinds.push_back(Text(*combo));
    if (lists::KindUsedInOtherRow(kinds, k)) {
        common::ShowWarning(lists::kDuplicateKindMessage, common::msg_style::kExclamation);
        Combo03[k]->setCurrentIndex(0);
    }
}

bool StockListScreen::eventFilter(QObject* watched, QEvent* event) {
    // A box that loses the focus because a run disables the screen is checked by the run.
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::FocusOut && !checkingBound_ && widget != nullptr && widget->isEnabled()) {
        for (const BoundBox& bound : BoundBoxes()) {
            if (watched != bound.box) continue;
            ui::RunHandler("frmGetList_TextFrom01_LostFocus", [&] { CheckAndStoreBound(bound); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::vector<StockListScreen::BoundBox> StockListScreen::BoundBoxes() const {
    std::vector<BoundBox> bounds;
    for (std::size_t k = 0; k < lists::kConditionRows; ++k) bounds.push_back({TextFrom01[k], "MngSel2Fm", k});
    for (std::size_t k = 0; k < lists::kConditionRows; ++k) bounds.push_back({TextTo01[k], "MngSel2To", k});
    return bounds;
}

bool StockListScreen::CheckAndStoreBound(const BoundBox& bound) {
    if (!CheckBound(*bound.box)) return false;
    WriteRowSetting(bound.key, bound.k, ui::FromQt(bound.box->text()));
    return true;
}

bool StockListScreen::CheckOnLeave() {
    if (checkingBound_) return true;
    for (const BoundBox& bound : BoundBoxes()) {
        if (!CheckAndStoreBound(bound)) return false;
    }
    return true;
}

bool StockListScreen::CheckBound(QLineEdit& box) {
    if (lists::IsRangeBoundText(ui::FromQt(box.text()))) return true;
    // The warning takes the focus from the box; that loss must not check it again.
    checkingBound_ = true;
    common::ShowWarning(lists::kEnterNumberMessage, common::msg_style::kExclamation);
    box.setFocus();
    box.selectAll();
    checkingBound_ = false;
    return false;
}

lists::ScreeningConditions StockListScreen::Conditions() const {
    lists::ScreeningConditions conditions;
    for (std::size_t k = 0; k < lists::kConditionRows; ++k) {
        const QList<QListWidgetItem*> chosen = ListBox01[k]->selectedItems();
        conditions.code[k] = {Text(*Combo02[k]), chosen.isEmpty() ? "" : ui::FromQt(chosen.front()->text())};
        conditions.range[k] = {Text(*Combo03[k]), ui::FromQt(TextFrom01[k]->text()), ui::FromQt(TextTo01[k]->text())};
    }
    return conditions;
}

void StockListScreen::Command1_Click() {
    QLineEdit* refused = nullptr;
    ui::RunGuarded("frmGetList_Command1_Click", [&] {
        const ui::ScreenDisabled disabled(*this);
        refused = ScreenAnalysisInfo();
    });
    // A refused bound is told once the screen is usable again, and the focus goes to its box.
    if (refused != nullptr) {
        CheckBound(*refused);
    } else {
        Command1->setFocus();
    }
}

QLineEdit* StockListScreen::ScreenAnalysisInfo() {
    ListView1->Clear();
    rows_.clear();
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);
    std::vector<lists::ColumnSortState> states;
    lists::ScreeningResult result;
    {
        ListProgress progress("分析情報のスクリーニング　");
        result = lists::ScreenAnalysisInfo(env, progress.msg, catalogue_, Conditions(), states);
    }
    if (result.outcome == lists::ScreeningOutcome::BadBound)
        return (result.badBoundIsTo ? TextTo01 : TextFrom01)[result.badRow];
    if (result.outcome == lists::ScreeningOutcome::Listed) {
        rows_ = std::move(result.rows);
        ListView1->ShowList(std::move(result.list), std::move(states));
    }
    return nullptr;
}

void StockListScreen::Command2_Click() {
    ui::RunGuarded("frmGetList_Command2_Click", [this] {
        for (std::size_t k = 0; k < lists::kConditionRows; ++k) {
            Combo02[k]->setCurrentIndex(0);
            FillChoices(k);
            WriteRowSetting("MngSel1Lst", k, "");
        }
    });
}

void StockListScreen::Command4_Click() {
    ui::RunGuarded("frmGetList_Command4_Click", [this] {
        for (std::size_t k = 0; k < lists::kConditionRows; ++k) {
            Combo03[k]->setCurrentIndex(0);
            TextFrom01[k]->clear();
            TextTo01[k]->clear();
            WriteRowSetting("MngSel2Fm", k, "");
            WriteRowSetting("MngSel2To", k, "");
        }
    });
}

void StockListScreen::Command3_Click() {
    ColumnChooserDialog chooser(catalogue_, this);
    if (chooser.exec() == QDialog::Accepted) ui::RunHandler("frmGetList_Command3_Click", [this] { LoadConditions(); });
}

void StockListScreen::ShowStoredConditions() {
    ColumnChooserDialog sample(lists::StoredConditionsSample(platform::Now().date), this);
    sample.exec();
}

void StockListScreen::ListView1_DblClick() {
    ui::RunGuarded("frmGetList_ListView1_DblClick", [this] {
        const lists::ListRow* row = ListView1->CurrentRow();
        if (row == nullptr) return;
        const ui::ScreenDisabled disabled(*this);
        common::EnvRec env;
        common::CCENV00M(env);
        const std::optional<charts::ChartTarget> target =
            lists::ScreeningRowChartTarget(env, row->cells[0].text, rows_);
        if (target) OpenKagiChart(chart_, *target);
    });
}

}  // namespace list_ui
