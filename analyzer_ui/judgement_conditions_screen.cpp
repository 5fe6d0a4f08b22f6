#include "analyzer_ui/judgement_conditions_screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <functional>
#include <string>

#include "analysis/condition_checks.h"
#include "analysis/display_masks.h"
#include "analysis/judgement_request.h"
#include "common/logs/message_box.h"
#include "common/logs/message_style.h"
#include "common/settings/control_setting.h"
#include "common/settings/default_settings.h"
#include "common/settings/settings.h"
#include "platform/utf8_text.h"
#include "ui/busy_guard.h"
#include "ui/form_controls.h"
#include "ui/handler_report.h"
#include "ui/qt_text.h"

namespace analyzer_ui {

namespace {

using common::ControlKind;

constexpr const char* kSection = "MirControl\\Kesen\\";

// The check boxes that keep a setting of their own.
constexpr common::ControlSetting kCheckBoxes[] = {
    {"CkBoxBasicLawsReset", ControlKind::CheckBox, "MirControl\\Kesen\\EnvBscLR", 0, "0"},
    {"CkBoxLawsAllReset", ControlKind::CheckBox, "MirControl\\Kesen\\EnvLR", 0, "1"},
    {"EnvRoaIgA", ControlKind::CheckBox, "MirControl\\Kesen\\EnvRoaIgA", 0, "0"},
    {"EnvRoaIgB", ControlKind::CheckBox, "MirControl\\Kesen\\EnvRoaIgB", 0, "0"},
    {"EnvRoaIgC", ControlKind::CheckBox, "MirControl\\Kesen\\EnvRoaIgC", 0, "0"},
    {"EnvRoaIg1", ControlKind::CheckBox, "MirControl\\Kesen\\EnvRoaIg1", 0, "0"},
    {"EnvRoaIg2", ControlKind::CheckBox, "MirControl\\Kesen\\EnvRoaIg2", 0, "0"},
    {"EnvRoaIg3", ControlKind::CheckBox, "MirControl\\Kesen\\EnvRoaIg3", 0, "0"},
    {"EnvChange", ControlKind::CheckBox, "MirControl\\Kesen\\EnvChange", 0, "1"},
    {"CKBox0105_1", ControlKind::CheckBox, "MirControl\\Kesen\\EnvKagi", 1, "1"},
    {"CKBox0105_2", ControlKind::CheckBox, "MirControl\\Kesen\\EnvKagi", 2, "1"},
    {"CKBox0105_3", ControlKind::CheckBox, "MirControl\\Kesen\\EnvKagi", 3, "1"},
    {"CKBox0105_4", ControlKind::CheckBox, "MirControl\\Kesen\\EnvKagi", 4, "1"},
};

// The rows of the box arrays kept as masks.
struct MaskRow {
    const char* key;
    const char* boxName;
    int count;
    const char* clickId;
};
constexpr MaskRow kBasicRow{"EnvKhn", "CkBoxKihon", analysis::kBasicBoxes, "frmKsnParm_CkBoxKihon_Click"};
constexpr MaskRow kFamilyRow{"EnvLRS", "CkBoxDispHosokuAll", analysis::kFamilyBoxes,
                             "frmKsnParm_CkBoxDispHosokuAll_Click"};
constexpr MaskRow kRuleRow{"EnvHsk", "CkBoxDispHosoku", analysis::kRuleBoxes, "frmKsnParm_CkBoxDispHosoku_Click"};

constexpr const char* kBasicCaptions[analysis::kBasicBoxes] = {
    " はらみ",       " つつみ",       " 空間",         " 半値引き", " 行って来い", " 長大線", " 特別長大線",
    " 穴",           " 上側上げ新値", " 上側下げ新値", " 下側上げ新値", " 下側下げ新値", " ①＞③", " ①＞④",
    " 予備",         " 予備",         " 予備",         " 予備",     " 予備",       " 予備",
};
constexpr const char* kFamilyCaptions[analysis::kFamilyBoxes] = {"　ろさ法則　", "　ろく法則　", "　ろゑ法則　",
                                                                 "　ろあ法則　", "　法則予備　"};
constexpr const char* kRuleNumbers[] = {"一", "二", "三", "四", "五", "六"};
constexpr int kRulesPerFamily = 10;
constexpr int kSummaryRangeDefault = 2;

std::string SettingPath(const char* key) { return std::string(kSection) + key; }

QString ArrayName(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QString::fromUtf8(name)).arg(index);
}

template <typename Widget>
Widget* Named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QCheckBox* CheckBox(const QString& name, const QString& caption, QWidget* parent) {
    return Named(new QCheckBox(caption, parent), name);
}

QLabel* Label(const QString& name, const QString& text, QWidget* parent) {
    return Named(new QLabel(text, parent), name);
}

// An explanation that wraps within its frame.
QLabel* Explanation(const QString& name, const QString& text, QWidget* parent) {
    QLabel* label = Label(name, text, parent);
    label->setWordWrap(true);
    return label;
}

// The combo's entries and its first choice.
void FillSummaryRangeCombo(QComboBox& combo) {
    combo.clear();
    combo.addItems({QStringLiteral("全体"), QStringLiteral("直近3年"), QStringLiteral("直近5年"),
                    QStringLiteral("直近10年"), QStringLiteral("直近15年")});
    combo.setCurrentIndex(kSummaryRangeDefault);
}

// A row of the conditions: its label, one box or a numerator and a
// denominator, and the tip on both.
struct ConditionRow {
    const char* label;
    const char* box;
    const char* secondBox;
    const char* tip;
};

void AddConditionRow(QGridLayout& grid, int row, const ConditionRow& parts, QWidget* parent) {
    const QString tip = QString::fromUtf8(parts.tip);
    QLabel* label = Label(QStringLiteral("Label%1").arg(QString::fromUtf8(parts.box)), QString::fromUtf8(parts.label),
                          parent);
    label->setToolTip(tip);
    grid.addWidget(label, row, 0);
    int column = 1;
    for (const char* name : {parts.box, parts.secondBox}) {
        if (name == nullptr) continue;
        if (column > 1) grid.addWidget(new QLabel(QStringLiteral("／"), parent), row, column++, Qt::AlignCenter);
        auto* box = Named(new QLineEdit(parent), QString::fromUtf8(name));
        box->setToolTip(tip);
        box->setMaximumWidth(90);
        grid.addWidget(box, row, column++);
    }
}

QWidget* ConditionsTab(QWidget* parent) {
    auto* tab = Named(new QWidget(parent), "TabFrame_1");

    auto* lines = Named(new QGroupBox(tab), "FrameConditions");
    auto* lineGrid = new QGridLayout(lines);
    const ConditionRow lineRows[] = {
        {"長大線の掛率(％)", "EnvTdai", nullptr, ""},
        {"鉤足のチェック範囲(長大線)", "EnvIkoRng", nullptr, "過去に発生した長大線と比較する時の範囲"},
        {"鉤足のチェック範囲(新値)", "EnvKagiRng", nullptr, "過去に発生した新値と比較する時の範囲"},
        {"「ろゑ法則」三山の幅", "EnvRoeN", "EnvRoeD", ""},
        {"「行って来い」の判定", "EnvIkoN", "EnvIkoD", ""},
        {"「半値引き」の判定", "EnvHnnN", "EnvHnnD", ""},
    };
    int row = 0;
    for (const ConditionRow& parts : lineRows) AddConditionRow(*lineGrid, row++, parts, lines);
    lineGrid->setRowMinimumHeight(row++, 12);
    lineGrid->addWidget(CheckBox("EnvChange", QStringLiteral(" 同一法則の同時（連続）出現は転換扱いとしない"), lines),
                        row++, 0, 1, 5);
    lineGrid->setColumnStretch(4, 1);
    lineGrid->setRowStretch(row, 1);

    auto* holes = Named(new QGroupBox(QStringLiteral("ろあ法則（穴）の判定条件"), tab), "FrameHoles");
    auto* holeGrid = new QGridLayout(holes);
    row = 0;
    holeGrid->addWidget(Explanation("LabelAnaCount",
                              QStringLiteral("穴の開始・終了の鉤足の間が何本以上あった場合に穴と判定するかを指定する"),
                              holes),
                        row++, 0, 1, 3);
    AddConditionRow(*holeGrid, row++, {"穴の鉤足数の最低値", "EnvAnaMin", nullptr, "穴の開始・終了の間の最低鉤足本数"},
                    holes);
    AddConditionRow(*holeGrid, row++, {"穴の鉤足数の最大値", "EnvAnaMax", nullptr, "穴の開始・終了の間の最大鉤足本数"},
                    holes);
    holeGrid->setRowMinimumHeight(row++, 8);
    holeGrid->addWidget(Explanation("LabelAnadptText",
                              QStringLiteral("穴の底値を基準に何％以上変化した時に穴と判定するかを指定する"), holes),
                        row++, 0, 1, 3);
    AddConditionRow(*holeGrid, row++, {"穴の深さ", "EnvAnadpt", nullptr, ""}, holes);
    holeGrid->setRowMinimumHeight(row++, 12);
    const char* ignores[][2] = {{"EnvRoaIgA", " 後段の穴を無視する"},        {"EnvRoaIgB", " 前段の穴を無視する"},
                                {"EnvRoaIgC", " 擂鉢状の穴を無視する"},      {"EnvRoaIg1", " ろあ第一法則を無視する"},
                                {"EnvRoaIg2", " ろあ第二法則を無視する"}, {"EnvRoaIg3", " ろあ第三法則を無視する"}};
    for (const auto& ignore : ignores) {
        holeGrid->addWidget(CheckBox(ignore[0], QString::fromUtf8(ignore[1]), holes), row++, 0, 1, 3);
    }
    holeGrid->setColumnStretch(2, 1);

    auto* frames = new QHBoxLayout;
    frames->addWidget(lines, 1);
    frames->addWidget(holes, 1);
    auto* reset = new QHBoxLayout;
    reset->addStretch();
    reset->addWidget(Named(new QPushButton(QStringLiteral("初期値に戻す"), tab), "Command1"));
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(frames);
    layout->addLayout(reset);
    layout->addStretch();
    return tab;
}

QWidget* BasicDisplayTab(QWidget* parent) {
    auto* tab = Named(new QWidget(parent), "TabFrame_2");
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(CheckBox("CkBoxBasicLawsReset", QStringLiteral(" 基本条件全体の表示・非表示"), tab));
    auto* frame = Named(new QGroupBox(tab), "FrameKihon");
    auto* grid = new QGridLayout(frame);
    constexpr int kRows = 5;
    for (int box = 1; box <= analysis::kBasicBoxes; ++box) {
        grid->addWidget(CheckBox(ArrayName("CkBoxKihon", box), QString::fromUtf8(kBasicCaptions[box - 1]), frame),
                        (box - 1) % kRows, (box - 1) / kRows);
    }
    layout->addWidget(frame);
    layout->addStretch();
    return tab;
}

QString RuleCaption(int family, int box) {
    const analysis::RuleRange named = analysis::NamedRules(family);
    if (box < named.first || box > named.last) return QStringLiteral(" 予備");
    return QStringLiteral(" 第%1法則").arg(QString::fromUtf8(kRuleNumbers[box - named.first]));
}

QWidget* RuleDisplayTab(QWidget* parent) {
    auto* tab = Named(new QWidget(parent), "TabFrame_3");
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(CheckBox("CkBoxLawsAllReset", QStringLiteral(" 法則全体の表示・非表示"), tab));
    auto* families = new QHBoxLayout;
    for (int family = 1; family <= analysis::kFamilyBoxes; ++family) {
        auto* frame = Named(new QGroupBox(QString::fromUtf8(kFamilyCaptions[family - 1]), tab),
                            ArrayName("FrameHosoku", family - 1));
        auto* column = new QVBoxLayout(frame);
        column->addWidget(CheckBox(ArrayName(kFamilyRow.boxName, family), QStringLiteral(" 法則全体"), frame));
        column->addSpacing(6);
        for (int rule = 1; rule <= kRulesPerFamily; ++rule) {
            const int box = (family - 1) * kRulesPerFamily + rule;
            column->addWidget(CheckBox(ArrayName(kRuleRow.boxName, box), RuleCaption(family, box), frame));
        }
        column->addStretch();
        families->addWidget(frame);
    }
    layout->addLayout(families);
    layout->addStretch();
    return tab;
}

QGroupBox* JudgementFrame(QWidget* parent) {
    auto* frame = Named(new QGroupBox(QStringLiteral("　鉤足判定"), parent), "Frame3");
    auto* row = new QHBoxLayout(frame);
    const char* countries[] = {"国内", "米国", "中国", "ﾃｽﾄ用"};
    for (int i = 1; i <= 4; ++i) {
        row->addWidget(CheckBox(ArrayName("CKBox0105", i), QString::fromUtf8(countries[i - 1]), frame));
    }
    row->addSpacing(24);
    row->addWidget(Label("LabelCmbSumRng", QStringLiteral("鉤足判定結果の集計範囲"), frame));
    auto* range = Named(new QComboBox(frame), "CmbSumRng");
    FillSummaryRangeCombo(*range);
    row->addWidget(range);
    row->addStretch();
    auto* start = Named(new QPushButton(QStringLiteral("判定開始"), frame), "BasicCommand7");
    start->setMinimumWidth(120);
    row->addWidget(start);
    return frame;
}

}  // namespace

JudgementConditionsScreen::JudgementConditionsScreen(QWidget* parent) : QWidget(parent) {
    setObjectName("frmKsnParm");
    setWindowTitle(QStringLiteral("鉤足判定"));
    auto* tabs = Named(new QTabWidget(this), "TabFrame");
    tabs->addTab(ConditionsTab(tabs), QStringLiteral(" 法則の判定条件 "));
    tabs->addTab(BasicDisplayTab(tabs), QStringLiteral(" 基本条件の表示設定 "));
    tabs->addTab(RuleDisplayTab(tabs), QStringLiteral(" 法則の表示設定 "));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addWidget(JudgementFrame(this));

    for (const analysis::ConditionBox& condition : analysis::ConditionBoxes()) {
        findChild<QLineEdit*>(condition.objectName)->installEventFilter(this);
    }
    connect(findChild<QPushButton*>("BasicCommand7"), &QPushButton::clicked, this, [this] { StartJudgement(); });
    connect(findChild<QPushButton*>("Command1"), &QPushButton::clicked, this, [this] { RestoreDefaults(); });
}

void JudgementConditionsScreen::Restore() {
    {
        // The stores, once connected, must not write back what is being shown.
        std::vector<QSignalBlocker> quiet;
        for (QCheckBox* box : findChildren<QCheckBox*>()) quiet.emplace_back(box);
        auto* range = findChild<QComboBox*>("CmbSumRng");
        quiet.emplace_back(range);

        ui::RestoreControls(*this, kCheckBoxes);
        for (const MaskRow& row : {kBasicRow, kFamilyRow, kRuleRow}) {
            SetTicked(row.boxName, analysis::BoxesFromMask(common::ReadSetting(SettingPath(row.key)), row.count));
        }
        for (const analysis::ConditionBox& condition : analysis::ConditionBoxes()) {
            findChild<QLineEdit*>(condition.objectName)
                ->setText(ui::ToQt(platform::TrimBlanks(common::ReadSetting(SettingPath(condition.setting)))));
        }
        ui::SetListIndexFromSetting(SettingPath("EnvSumRng"), *range);
    }
    if (!storesConnected_) ConnectStores();
}

void JudgementConditionsScreen::ConnectStores() {
    storesConnected_ = true;
    ui::ConnectStores(*this, kCheckBoxes);
    connect(findChild<QComboBox*>("CmbSumRng"), &QComboBox::currentIndexChanged, this, [](int index) {
        ui::RunHandler("frmKsnParm_CmbSumRng_Change",
                       [index] { common::WriteSetting(SettingPath("EnvSumRng"), std::to_string(index)); });
    });
    const auto onToggle = [this](const QString& boxName, const char* procedureId, std::function<void(bool)> work) {
        connect(findChild<QCheckBox*>(boxName), &QCheckBox::toggled, this,
                [procedureId, work = std::move(work)](bool ticked) {
                    ui::RunHandler(procedureId, [&] { work(ticked); });
                });
    };
    // Connected after the stores of the table, so that the box's own setting is written first.
    onToggle("CkBoxBasicLawsReset", "frmKsnParm_CkBoxBasicLawsReset_Click",
             [this](bool ticked) { TickAllBasic(ticked); });
    onToggle("CkBoxLawsAllReset", "frmKsnParm_CkBoxLawsAllReset_Click", [this](bool ticked) { TickAllRules(ticked); });
    for (int family = 1; family <= kFamilyRow.count; ++family) {
        onToggle(ArrayName(kFamilyRow.boxName, family), kFamilyRow.clickId,
                 [this, family](bool ticked) { TickFamily(family, ticked); });
    }
    for (const MaskRow& row : {kBasicRow, kRuleRow}) {
        for (int box = 1; box <= row.count; ++box) {
            onToggle(ArrayName(row.boxName, box), row.clickId,
                     [this, row](bool) { StoreMask(row.key, row.boxName, row.count); });
        }
    }
}

std::vector<bool> JudgementConditionsScreen::Ticked(const char* name, int count) const {
    std::vector<bool> ticked;
    for (int box = 1; box <= count; ++box) ticked.push_back(findChild<QCheckBox*>(ArrayName(name, box))->isChecked());
    return ticked;
}

void JudgementConditionsScreen::SetTicked(const char* name, const std::vector<bool>& ticked) {
    for (std::size_t i = 0; i < ticked.size(); ++i) {
        auto* box = findChild<QCheckBox*>(ArrayName(name, static_cast<int>(i) + 1));
        const QSignalBlocker quiet(box);
        box->setChecked(ticked[i]);
    }
}

void JudgementConditionsScreen::StoreMask(const char* key, const char* name, int count) {
    common::WriteSetting(SettingPath(key), analysis::MaskFromBoxes(Ticked(name, count)));
}

void JudgementConditionsScreen::TickAllBasic(bool ticked) {
    SetTicked(kBasicRow.boxName, std::vector<bool>(static_cast<std::size_t>(kBasicRow.count), ticked));
    StoreMask(kBasicRow.key, kBasicRow.boxName, kBasicRow.count);
}

void JudgementConditionsScreen::TickAllRules(bool ticked) {
    const analysis::RuleMasks masks = analysis::WithAllRules(
        {analysis::MaskFromBoxes(Ticked(kRuleRow.boxName, kRuleRow.count)),
         analysis::MaskFromBoxes(Ticked(kFamilyRow.boxName, kFamilyRow.count))},
        ticked);
    SetTicked(kRuleRow.boxName, analysis::BoxesFromMask(masks.hsk, kRuleRow.count));
    SetTicked(kFamilyRow.boxName, analysis::BoxesFromMask(masks.lrs, kFamilyRow.count));
    StoreMask(kRuleRow.key, kRuleRow.boxName, kRuleRow.count);
    StoreMask(kFamilyRow.key, kFamilyRow.boxName, kFamilyRow.count);
}

void JudgementConditionsScreen::TickFamily(int family, bool ticked) {
    const std::string hsk =
        analysis::WithFamilyRules(analysis::MaskFromBoxes(Ticked(kRuleRow.boxName, kRuleRow.count)), family, ticked);
    SetTicked(kRuleRow.boxName, analysis::BoxesFromMask(hsk, kRuleRow.count));
    StoreMask(kRuleRow.key, kRuleRow.boxName, kRuleRow.count);
    StoreMask(kFamilyRow.key, kFamilyRow.boxName, kFamilyRow.count);
}

bool JudgementConditionsScreen::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the box for another control checks it; a box taken over by a
    // popup or by another window is still being edited.
    if (event->type() == QEvent::FocusOut && !checking_) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            for (const analysis::ConditionBox& condition : analysis::ConditionBoxes()) {
                if (watched->objectName() != QLatin1String(condition.objectName)) continue;
                const std::string procedureId = std::string("frmKsnParm_") + condition.objectName + "_LostFocus";
                ui::RunHandler(procedureId.c_str(),
                               [&] { CheckAndStore(condition, *static_cast<QLineEdit*>(watched)); });
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool JudgementConditionsScreen::CheckAndStore(const analysis::ConditionBox& condition, QLineEdit& box) {
    const std::string warning = analysis::StoreCondition(condition, ui::FromQt(box.text()));
    if (warning.empty()) return true;
    // The warning takes the focus from the box; that loss must not check it again.
    checking_ = true;
    common::ShowWarning(warning, common::msg_style::kExclamation);
    box.setFocus();
    box.selectAll();
    checking_ = false;
    return false;
}

bool JudgementConditionsScreen::CheckOnLeave() {
    if (checking_) return true;
    for (const analysis::ConditionBox& condition : analysis::ConditionBoxes()) {
        if (!CheckAndStore(condition, *findChild<QLineEdit*>(condition.objectName))) return false;
    }
    return true;
}

void JudgementConditionsScreen::StartJudgement() {
    const ui::BusyGuard busy;
    if (!busy.entered()) return;
    ui::RunHandler("frmKsnParm_BasicCommand7_Click", [this] {
        if (CheckOnLeave()) analysis::StartJudgement();
    });
}

void JudgementConditionsScreen::RestoreDefaults() {
    const ui::BusyGuard busy;
    if (!busy.entered()) return;
    ui::RunHandler("frmKsnParm_Command1_Click", [this] {
        common::WriteKesenDefaults();
        Restore();
    });
}

}  // namespace analyzer_ui
