#include "collector_ui/collection_settings_screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/logs/message_box.h"
#include "common/screens/run_control.h"
#include "common/screens/screen_control_tables.h"
#include "common/settings/price_settings_check.h"
#include "common/settings/settings.h"
#include "common/settings/settings_group.h"
#include "common/startup/batch_chain.h"
#include "common/startup/run_env.h"
#include "ui/busy_guard.h"
#include "ui/form_controls.h"
#include "ui/handler_report.h"
#include "ui/qt_text.h"

namespace collector_ui {

namespace {

using common::RunButton;

constexpr const char* kCountries[] = {"国内", "米国", "中国"};
constexpr const char* kDateTip = "　「yyyy/mm/dd」　の形式で入力して下さい　";

template <typename Widget>
Widget* Named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QGroupBox* Frame(const char* name, const char* title, QWidget* parent) {
    return Named(new QGroupBox(QString::fromUtf8(title), parent), QString::fromUtf8(name));
}

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
    return Named(new QPushButton(QString::fromUtf8(caption), parent), QString::fromUtf8(name));
}

QLabel* Label(const char* name, const QString& text, QWidget* parent) {
    auto* label = Named(new QLabel(text, parent), QString::fromUtf8(name));
    label->setWordWrap(true);
    return label;
}

// A frame of check boxes `boxName`_1.. with its "個別収集" button on the right.
QGroupBox* BoxFrame(const char* frameName, const char* title, const char* boxName,
                    std::initializer_list<const char*> captions, const char* buttonName, QWidget* parent) {
    QGroupBox* frame = Frame(frameName, title, parent);
    auto* row = new QHBoxLayout(frame);
    int index = 1;
    for (const char* caption : captions) {
        row->addWidget(Named(new QCheckBox(QString::fromUtf8(caption), frame),
                             QStringLiteral("%1_%2").arg(QString::fromUtf8(boxName)).arg(index++)));
    }
    row->addStretch();
    row->addWidget(Button(buttonName, "個別収集", frame));
    return frame;
}

// A frame of options `name`_1.., filled row by row into `columns` columns.
QGroupBox* OptionFrame(const char* frameName, const char* title, const char* name,
                       std::initializer_list<const char*> captions, int columns, QWidget* parent) {
    QGroupBox* frame = Frame(frameName, title, parent);
    auto* grid = new QGridLayout(frame);
    int index = 0;
    for (const char* caption : captions) {
        grid->addWidget(Named(new QRadioButton(QString::fromUtf8(caption), frame),
                              QStringLiteral("%1_%2").arg(QString::fromUtf8(name)).arg(index + 1)),
                        index / columns, index % columns);
        ++index;
    }
    return frame;
}

int Checked(const QWidget& form, const QString& name) {
    const auto* box = form.findChild<QCheckBox*>(name);
    return box != nullptr && box->isChecked() ? 1 : 0;
}

std::array<int, 3> CheckedRow(const QWidget& form, const char* name) {
    std::array<int, 3> row{};
    for (int i = 0; i < 3; ++i) row[static_cast<std::size_t>(i)] = Checked(form, QStringLiteral("%1_%2").arg(name).arg(i + 1));
    return row;
}

struct RunButtonName {
    const char* objectName;
    RunButton button;
    const char* procedureId;
};

constexpr RunButtonName kRunButtons[] = {
    {"BasicCommand0", RunButton::Exchange, "frmGetBsc_BasicCommand0_Click"},
    {"BasicCommand1", RunButton::CompanyLists, "frmGetBsc_BasicCommand1_Click"},
    {"BasicCommand2", RunButton::Profiles, "frmGetBsc_BasicCommand2_Click"},
    {"BasicCommand3", RunButton::Reports, "frmGetBsc_BasicCommand3_Click"},
    {"BasicCommand4", RunButton::Industries, "frmGetBsc_BasicCommand4_Click"},
    {"BasicCommand5", RunButton::AllBasic, "frmGetBsc_BasicCommand5_Click"},
    {"BasicCommand6", RunButton::Everything, "frmGetBsc_BasicCommand6_Click"},
    {"Btn0201", RunButton::PriceHistories, "frmGetBsc_Btn0201_Click"},
};

}  // namespace

CollectionSettingsScreen::CollectionSettingsScreen(std::function<std::string()> multiCountText,
                                                   std::function<platform::Date()> today, QWidget* parent)
    : QWidget(parent),
      multiCountText_(std::move(multiCountText)),
      today_(std::move(today)),
      dateFrom_(Named(new QLineEdit(this), "DateFrom02")),
      dateTo_(Named(new QLineEdit(this), "DateTo02")) {
    setObjectName("frmGetBsc");
    setWindowTitle(QStringLiteral("ＷｅｂＤａｔａの収集"));

    // The basic information.
    QGroupBox* basic = Frame("TabFrame_1", "　【基本情報の収集】　", this);
    auto* basicLayout = new QGridLayout(basic);
    basicLayout->addWidget(BoxFrame("Frame2", "　為替情報　", "CKBox0100", {"為替情報"}, "BasicCommand0", basic), 0, 0);
    basicLayout->addWidget(BoxFrame("Frame1", "　企業一覧の収集　", "CKBox0101", {"国内", "米国", "中国"},
                                    "BasicCommand1", basic),
                           0, 1);
    basicLayout->addWidget(BoxFrame("Frame5", "　企業情報の収集　", "CKBox0102", {"国内", "米国", "中国"},
                                    "BasicCommand2", basic),
                           1, 0);
    QGroupBox* reports = BoxFrame("Frame6", "　マーケット速報の収集　", "CKBox0103", {"国内", "米国", "中国"},
                                  "BasicCommand3", basic);
    basicLayout->addWidget(reports, 1, 1);
    basicLayout->addWidget(
        Named(new QCheckBox(
                  QStringLiteral(" マーケット速報の収集時に、当日分の株価時系列データも作成する"), basic),
              "BscCkBox0210"),
        2, 0, 1, 2);
    basicLayout->addWidget(Label("Label4",
                                 QStringLiteral("当日分の株価時系列データは「*」印の付いた仮のデータです。"
                                                "次回の株価時系列データの収集で正式なデータに置き換わります。"),
                                 basic),
                           3, 0, 1, 2);
    basicLayout->addWidget(BoxFrame("Frame4", "　その他情報の収集　", "CKBox0104", {"ロイター業種"}, "BasicCommand4",
                                    basic),
                           4, 0);
    auto* basicRuns = new QHBoxLayout;
    basicRuns->addStretch();
    basicRuns->addWidget(Button("BasicCommand5", "まとめて収集", basic));
    basicLayout->addLayout(basicRuns, 4, 1);

    // The price histories.
    QGroupBox* prices = Frame("TabFrame_2", "　【株価時系列データの収集】　", this);
    auto* priceLayout = new QGridLayout(prices);
    priceLayout->addWidget(OptionFrame("Frame7", "収集方法", "OBtn0201", {" 全て", " 国の選択", " ポートフォリオ"}, 1, prices),
                           0, 0, 2, 1);
    QGroupBox* countries = Frame("FM02012", "国の選択", prices);
    auto* countryColumn = new QVBoxLayout(countries);
    for (int i = 1; i <= 3; ++i) {
        countryColumn->addWidget(Named(new QCheckBox(QStringLiteral(" %1銘柄 （指標情報を含む）").arg(QString::fromUtf8(kCountries[i - 1])),
                                                     countries),
                                       QStringLiteral("CKBox0201_%1").arg(i)));
    }
    priceLayout->addWidget(countries, 0, 1);
    QGroupBox* portfolio = Frame("FM02013", "ポートフォリオ", prices);
    auto* portfolioRow = new QHBoxLayout(portfolio);
    portfolioRow->addWidget(Named(new QComboBox(portfolio), "CmbBox0201"));
    priceLayout->addWidget(portfolio, 1, 1);
    priceLayout->addWidget(OptionFrame("Frame10", "収集データ", "OBtn0202", {"日足", "週足", "月足", "全て"}, 1, prices), 0, 2,
                           2, 1);
    QGroupBox* period = OptionFrame("Frame11", "収集する日付(期間)", "OBtn0203",
                                    {" 最終取得日から処理日まで", " 全て収集し直す", " 期間指定", " 過去データ(未収集分)"},
                                    2, prices);
    auto* dates = new QHBoxLayout;
    dates->addWidget(Label("Lvl02031", QStringLiteral("開始日付"), period));
    dates->addWidget(dateFrom_);
    dates->addWidget(Label("Lvl02033", QStringLiteral("～"), period));
    dates->addWidget(Label("Lvl02032", QStringLiteral("終了日付"), period));
    dates->addWidget(dateTo_);
    dates->addStretch();
    static_cast<QGridLayout*>(period->layout())->addLayout(dates, 2, 0, 1, 2);
    priceLayout->addWidget(period, 2, 0, 1, 3);
    for (QLineEdit* box : {dateFrom_, dateTo_}) {
        box->setToolTip(QString::fromUtf8(kDateTip));
        box->setMaximumWidth(110);
    }
    priceLayout->addWidget(Named(new QCheckBox(QStringLiteral(" バックアップファイルを作成する"), prices), "CKBox0204"),
                           3, 0, 1, 3);
    priceLayout->addWidget(Label("Label1",
                                 QStringLiteral("既に収集済みの日付のデータは、新しく収集したデータで上書きします。"),
                                 prices),
                           4, 0, 1, 3);
    priceLayout->addWidget(Label("Label2",
                                 QStringLiteral("株式分割により株価時系列データを作り直す時、元のデータを「.bak」ファイルとして残します。"),
                                 prices),
                           5, 0, 1, 3);
    auto* priceRun = new QHBoxLayout;
    priceRun->addStretch();
    priceRun->addWidget(Button("Btn0201", "株価時系列データの収集", prices));
    priceLayout->addLayout(priceRun, 6, 0, 1, 3);

    auto* top = new QHBoxLayout;
    top->addStretch();
    top->addWidget(Button("BasicCommand6", "全部まとめて収集", this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(basic);
    layout->addWidget(prices);
    layout->addStretch();

    // The enabled states follow the options, restored ones included.
    for (const char* name : {"OBtn0201_1", "OBtn0201_2", "OBtn0201_3", "OBtn0203_1", "OBtn0203_2", "OBtn0203_3",
                             "OBtn0203_4"}) {
        connect(findChild<QRadioButton*>(name), &QRadioButton::toggled, this, [this] { EnableByOptions(); });
    }
    EnableByOptions();
    for (const RunButtonName& run : kRunButtons) {
        auto* button = findChild<QPushButton*>(run.objectName);
        connect(button, &QPushButton::clicked, this, [this, run, button] { Run(run.button, button); });
    }
}

void CollectionSettingsScreen::ShowCollectionSettings() {
    ui::RestoreControls(*this, common::CollectionSettingsControls());
    ui::ConnectStores(*this, common::CollectionSettingsControls());
}

void CollectionSettingsScreen::EnableByOptions() {
    const int method = ui::CheckedOption(*this, "OBtn0201");
    for (int i = 1; i <= 3; ++i) findChild<QCheckBox*>(QStringLiteral("CKBox0201_%1").arg(i))->setEnabled(method == 2);
    findChild<QComboBox*>("CmbBox0201")->setEnabled(method == 3);
    const bool period = ui::CheckedOption(*this, "OBtn0203") == 3;
    for (const char* name : {"DateFrom02", "DateTo02", "Lvl02031", "Lvl02032", "Lvl02033"}) {
        findChild<QWidget*>(name)->setEnabled(period);
    }
}

common::CollectionScreenState CollectionSettingsScreen::ScreenState() const {
    common::CollectionScreenState state;
    state.exchange = Checked(*this, "CKBox0100_1");
    state.lists = CheckedRow(*this, "CKBox0101");
    state.profiles = CheckedRow(*this, "CKBox0102");
    state.reports = CheckedRow(*this, "CKBox0103");
    state.industries = Checked(*this, "CKBox0104_1");
    state.method = ui::CheckedOption(*this, "OBtn0201");
    state.candle = ui::CheckedOption(*this, "OBtn0202");
    state.period = ui::CheckedOption(*this, "OBtn0203");
    state.dateFrom = ui::FromQt(dateFrom_->text());
    state.dateTo = ui::FromQt(dateTo_->text());
    state.countries = CheckedRow(*this, "CKBox0201");
    state.backup = Checked(*this, "CKBox0204");
    state.multiCount = multiCountText_ ? multiCountText_() : "";
    return state;
}

common::SystemStateRec CollectionSettingsScreen::SaveScreenState() {
    common::EnvRec env;
    common::CCENV00M(env);
    common::SystemStateRec rec;
    common::ReadSystemStateFile(env, rec);
    common::CopyScreenState(ScreenState(), rec);
    common::WriteSystemStateFile(env, rec);
    return rec;
}

void CollectionSettingsScreen::MarkDates(bool fromWrong, bool toWrong) {
    dateFrom_->setStyleSheet(fromWrong ? QStringLiteral("color: red") : QString());
    dateTo_->setStyleSheet(toWrong ? QStringLiteral("color: red") : QString());
}

bool CollectionSettingsScreen::ValidateAndStorePriceSettings(common::SystemStateRec& rec) {
    using common::PriceCheckField;
    const common::PriceCheckResult check = common::CheckPriceSettings(ScreenState(), today_(), rec);
    // A date the check read is shown as it reads it, whether the check passed or not.
    if (!check.dateFrom.empty()) dateFrom_->setText(ui::ToQt(check.dateFrom));
    if (!check.dateTo.empty()) dateTo_->setText(ui::ToQt(check.dateTo));
    MarkDates(check.field == PriceCheckField::DateFrom || check.field == PriceCheckField::BothDates,
              check.field == PriceCheckField::DateTo || check.field == PriceCheckField::BothDates);
    if (!check.passed) {
        common::ShowWarning(check.warning, 48);
        if (check.field == PriceCheckField::DateTo) dateTo_->setFocus();
        if (check.field == PriceCheckField::DateFrom || check.field == PriceCheckField::BothDates) dateFrom_->setFocus();
        if (check.field == PriceCheckField::PeriodOption) findChild<QRadioButton*>("OBtn0203_1")->setFocus();
        return false;
    }
    common::EnvRec env;
    common::CCENV00M(env);
    common::WriteSystemStateFile(env, rec);
    return true;
}

void CollectionSettingsScreen::Run(common::RunButton button, QPushButton* pressed) {
    const ui::BusyGuard busy;
    if (!busy.entered()) return;
    const char* procedureId = "frmGetBsc";
    for (const RunButtonName& run : kRunButtons) {
        if (run.button == button) procedureId = run.procedureId;
    }
    bool refused = false;
    ui::RunHandler(procedureId, [this, button, &refused] {
        common::ExportCollectorSettings();
        if (!common::CheckExclusiveCollection()) return;
        // After the start check: a resume offered there runs children that
        // read the candle, period and dates of the system state file.
        common::SystemStateRec rec = SaveScreenState();
        refused = common::NeedsPriceCheck(button) && !ValidateAndStorePriceSettings(rec);
        if (refused) return;
        common::WriteSetting("MirControl\\Common\\Batch",
                             common::EncodeBatchRequest(common::BuildRunRequest(button, rec)));
        common::RunCollectionBatch();
    });
    // A refused price check has put the focus where the correction goes.
    if (!refused) pressed->setFocus();
}

}  // namespace collector_ui
