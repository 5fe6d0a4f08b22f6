#include "list_ui/judgement_result_screen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "chart_ui/chart_window.h"
#include "common/startup/run_env.h"
#include "common/settings/settings.h"
#include "list_ui/chart_opening.h"
#include "list_ui/list_progress.h"
#include "list_ui/list_view.h"
#include "ui/screen_guard.h"
#include "ui/handler_report.h"
#include "ui/form_controls.h"
#include "ui/qt_text.h"

namespace list_ui {

namespace {

constexpr const char* kSection = "KsnSum";

std::string KeyPath(const char* key) { return common::SettingKeyPath(kSection, key); }

template <typename Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// A combo with its list and the entry it shows until a saved choice says otherwise.
QComboBox* MakeCombo(QWidget* parent, const char* name, const QStringList& items, int shown) {
    auto* combo = Named(new QComboBox(parent), name);
    combo->addItems(items);
    combo->setCurrentIndex(shown);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

common::EnvRec ListEnv() {
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);
    return env;
}

}  // namespace

JudgementResultScreen::JudgementResultScreen(chart_ui::ChartWindow& chart, QWidget* parent)
    : QWidget(parent), chart_(chart) {
    setObjectName(QStringLiteral("frmKsnList"));
    setWindowTitle(QStringLiteral("鉤足法則判定結果"));
    resize(1180, 760);

    Frame1 = Named(new QGroupBox(QStringLiteral(" 抽出条件 "), this), "Frame1");
    LabelCountry = Named(new QLabel(QStringLiteral("国の選択（選択必須）"), Frame1), "LabelCountry");
    ComboCountry = MakeCombo(Frame1, "ComboCountry", {"CHN", "JPN", "USA"}, 1);
    LabelSummary = Named(new QLabel(QStringLiteral("集計単位の選択（選択必須）"), Frame1), "LabelSummary");
    ComboSummary = MakeCombo(Frame1, "ComboSummary",
                             {QStringLiteral("Level1 : 陰陽"), QStringLiteral("Level2 : 陰陽・転換出現状況"),
                              QStringLiteral("Level3 : 陰陽・転換出現状況・法則"),
                              QStringLiteral("Level4 : 陰陽・転換出現状況・法則・法則詳細"),
                              QStringLiteral("Level5 : 陰陽・転換出現状況・法則・法則詳細・法則発生年")},
                             2);
    LabelKagiRule = Named(new QLabel(QStringLiteral("法則選択（任意）"), Frame1), "LabelKagiRule");
    ComboKagiRule = MakeCombo(
        Frame1, "ComboKagiRule",
        {QString(), QStringLiteral("ろさ"), QStringLiteral("ろく"), QStringLiteral("ろゑ"), QStringLiteral("ろあ")}, 0);
    Command3 = Named(new QPushButton(QStringLiteral("抽　出"), Frame1), "Command3");
    Label4 = Named(new QLabel(QStringLiteral("(1) 法則転換結果の集計情報"), this), "Label4");
    ListView1 = new ListView(QStringLiteral("ListView1"), this);
    OptSort1 = BuildSortOptions(*this, QStringLiteral("FrameSort1"), QStringLiteral("(1)ソート順"),
                                QStringLiteral("OptSort1"), KeyPath("RsltSrtAD1"), "frmKsnList_OptSort1_Click");
    Label3 = Named(new QLabel(QStringLiteral("(2) 転換の詳細情報"), this), "Label3");
    ListView2 = new ListView(QStringLiteral("ListView2"), this);
    OptSort2 = BuildSortOptions(*this, QStringLiteral("FrameSort2"), QStringLiteral("(2)ソート順"),
                                QStringLiteral("OptSort2"), KeyPath("RsltSrtAD2"), "frmKsnList_OptSort2_Click");

    const QString levelTip = QStringLiteral(
        "①陰陽：法則の転換方向　　　②発生状況：２法則同時発生か否か　　　③法則：ろさ・ろく等、番号を除いた単位　　　"
        "④法則詳細：ろさ第１・ろさ第２等、番号を含めた単位　　　⑤法則発生年：転換時の年");
    ComboSummary->setToolTip(levelTip);
    LabelSummary->setToolTip(levelTip);
    const QString ruleTip = QStringLiteral("選択した法則が含まれているデータを抽出します");
    ComboKagiRule->setToolTip(ruleTip);
    LabelKagiRule->setToolTip(ruleTip);
    ListView1->setToolTip(QStringLiteral("ダブルクリックすると、「転換の詳細情報」に集計前の詳細情報を表示します"));
    ListView2->setToolTip(QStringLiteral("ダブルクリックすると、選択した企業の鉤足チャートを表示します"));

    auto* choices = new QGridLayout(Frame1);
    choices->addWidget(LabelCountry, 0, 0);
    choices->addWidget(ComboCountry, 1, 0);
    choices->addWidget(LabelSummary, 0, 1);
    choices->addWidget(ComboSummary, 1, 1);
    choices->addWidget(LabelKagiRule, 0, 2);
    choices->addWidget(ComboKagiRule, 1, 2);
    choices->addWidget(Command3, 1, 3);
    choices->setColumnStretch(4, 1);

    auto* summary = new QHBoxLayout;
    summary->addWidget(ListView1, 1);
    summary->addWidget(OptSort1.frame, 0, Qt::AlignTop);
    auto* detail = new QHBoxLayout;
    detail->addWidget(ListView2, 1);
    detail->addWidget(OptSort2.frame, 0, Qt::AlignTop);
    auto* all = new QVBoxLayout(this);
    all->addWidget(Frame1);
    all->addWidget(Label4);
    all->addLayout(summary, 1);
    all->addWidget(Label3);
    all->addLayout(detail, 1);

    ui::RunHandler("frmKsnList_Form_Load", [this] { RestoreChoices(); });
    ConnectStores();

    connect(Command3, &QPushButton::clicked, this, &JudgementResultScreen::Command3_Click);
    connect(ListView1, &QAbstractItemView::doubleClicked, this, &JudgementResultScreen::ListView1_DblClick);
    connect(ListView2, &QAbstractItemView::doubleClicked, this, &JudgementResultScreen::ListView2_DblClick);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, [this](int section) {
        ui::RunGuarded("frmKsnList_ListView1_ColumnClick", [&] { ListView1->SortByHeader(OptSort1.Mode(), section); });
    });
    connect(ListView2->header(), &QHeaderView::sectionClicked, this, [this](int section) {
        ui::RunGuarded("frmKsnList_ListView2_ColumnClick", [&] { ListView2->SortByHeader(OptSort2.Mode(), section); });
    });
}

void JudgementResultScreen::RestoreChoices() {
    for (const auto& [combo, key] : {std::pair{ComboCountry, "RsltSlctCntry"}, std::pair{ComboSummary, "RsltSlctSumry"},
                                     std::pair{ComboKagiRule, "RsltSlctRule"}}) {
        ui::SelectComboFromSetting(KeyPath(key), *combo);
    }
}

void JudgementResultScreen::ConnectStores() {
    for (const auto& [combo, key] : {std::pair{ComboCountry, "RsltSlctCntry"}, std::pair{ComboSummary, "RsltSlctSumry"},
                                     std::pair{ComboKagiRule, "RsltSlctRule"}}) {
        const std::string path = KeyPath(key);
        connect(combo, &QComboBox::currentTextChanged, this, [path](const QString& text) {
            ui::RunHandler("frmKsnList_Combo_Change", [&] { common::WriteSetting(path, ui::FromQt(text)); });
        });
    }
}

lists::SummarySelection JudgementResultScreen::CurrentSelection() const {
    lists::SummarySelection selection;
    if (ComboCountry->currentIndex() >= 0) selection.country = ui::FromQt(ComboCountry->currentText());
    if (ComboSummary->currentIndex() >= 0) selection.level = ComboSummary->currentIndex() + 1;
    selection.ruleBit = lists::RuleBitOfChoice(ComboKagiRule->currentIndex());
    return selection;
}

// A failed build is reported and the screen stays (the program goes on),
// with the run log telling of the abnormal end of the build.
void JudgementResultScreen::Command3_Click() {
    ui::RunGuarded("frmKsnList_Command3_Click", [this] { BuildSummaryList(); }, "KsnSumMng");
}

void JudgementResultScreen::ListView1_DblClick() {
    ui::RunGuarded("frmKsnList_ListView1_DblClick", [this] { BuildDetailList(); }, "LvwDblcl");
}

void JudgementResultScreen::ListView2_DblClick() {
    ui::RunGuarded("frmKsnList_ListView2_DblClick", [this] { OpenChartFromDetail(); });
}

void JudgementResultScreen::BuildSummaryList() {
    ListView2->Clear();
    const lists::SummarySelection selection = CurrentSelection();
    common::EnvRec env = ListEnv();
    std::vector<lists::ColumnSortState> states;
    std::optional<lists::ListData> list;
    {
        ListProgress progress("鉤足法則判定結果（集計結果）のリスト編集中");
        list = lists::BuildSummaryList(env, progress.msg, selection, states);
    }
    // A missing choice or an empty result was told to the user: the rows of
    // the previous build stay.
    if (!list) return;
    for (const auto& [combo, key] : {std::pair{ComboCountry, "RsltSaveCntry"}, std::pair{ComboSummary, "RsltSaveSumry"},
                                     std::pair{ComboKagiRule, "RsltSaveRule"}}) {
        common::WriteSetting(KeyPath(key), ui::FromQt(combo->currentText()));
    }
    built_ = selection;
    ListView1->ShowList(std::move(*list), std::move(states));
}

void JudgementResultScreen::BuildDetailList() {
    const lists::ListRow* row = ListView1->CurrentRow();
    if (row == nullptr) return;
    const std::string rowText = row->cells[0].text;
    const ui::ScreenDisabled disabled(*this);
    common::EnvRec env = ListEnv();
    std::vector<lists::ColumnSortState> states;
    std::optional<lists::ListData> list;
    {
        ListProgress progress("転換の詳細情報のリスト編集中");
        list = lists::BuildDetailList(env, progress.msg, built_, rowText, states);
    }
    if (list) ListView2->ShowList(std::move(*list), std::move(states));
}

void JudgementResultScreen::OpenChartFromDetail() {
    const lists::ListRow* row = ListView2->CurrentRow();
    if (row == nullptr) return;
    common::EnvRec env = ListEnv();
    const std::optional<charts::ChartTarget> target = lists::DetailRowChartTarget(env, *row);
    if (target) OpenKagiChart(chart_, *target);
}

}  // namespace list_ui
