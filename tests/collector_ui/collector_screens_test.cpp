// The collection program's screens offscreen, with drivers that only record
// that they ran: placement, the stores, each run button's request, the
// refused checks, the busy flag, the run marks and the other functions.
#include <gtest/gtest.h>

#include <QApplication>
#include <csignal>
#include <cerrno>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "collector_ui/collector_menu.h"
#include "common/startup/batch_chain.h"
#include "common/settings/default_settings.h"
#include "common/startup/process_context.h"
#include "common/startup/program_parts.h"
#include "common/startup/run_env.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/settings/settings_group.h"
#include "common/settings/system_state_file.h"
#include "common/screens/ui_seam.h"
#include "common/tasks/live_children.h"
#include "platform/child_process.h"
#include "platform/instance_lock.h"
#include "platform/trapped_error.h"
#include "tests/collect/industry/industry_market.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/keyboard_user.h"
#include "tests/support/program_folder.h"
#include "ui/box_answer.h"
#include "ui/main_window.h"
#include "ui/progress_dialog.h"
#include "ui/qt_message_presenter.h"
#include "ui/program_version.h"

namespace {

namespace fs = std::filesystem;

class RecordingWindow : public common::MainWindowControl {
public:
    void SetMainWindowVisible(bool visible) override { shown.push_back(visible); }
    std::vector<bool> shown;
};

class CollectorScreens : public ::testing::Test {
protected:
    void SetUp() override {
        common::InstallUi({ui_.presenter, std::make_shared<testsupport::RecordingForms>(), ui_.pump, window_,
                           std::make_shared<testsupport::ThrowingProgramEnd>()});
        common::WriteAllDefaults();
        common::ProgramParts parts;
        for (const char* id : {"AEXCG00M", "ALIST00M", "ACORP00M", "AHPJP00M", "AUSCM00M", "AHPID00M"}) {
            parts.drivers[id] = [this, id] {
                ran_.push_back(std::string(id) + ":" + std::to_string(common::State().context.countryIndex));
                if (onDriver_) onDriver_();
                return !common::State().CancelRequested;
            };
        }
        parts.batchRunner = [this] {
            ran_.push_back("resume");
            common::RunCollectionBatch();
        };
        common::InstallProgramParts(std::move(parts));
    }
    void TearDown() override { common::InstallProgramParts({}); }

    void Start() { collector_ui::HpGtMenu(main_, [] { return platform::Date{2026, 12, 4}; }); }

    template <typename Widget = QWidget>
    Widget* Control(const char* form, const char* name) {
        QWidget* screen = main_.findChild<QWidget*>(form);
        return screen != nullptr ? screen->findChild<Widget*>(name) : nullptr;
    }
    void Click(const char* form, const char* name) {
        auto* button = Control<QAbstractButton>(form, name);
        ASSERT_NE(button, nullptr) << form << "/" << name;
        button->click();
    }
    void Type(const char* form, const char* name, const QString& text) {
        auto* box = Control<QLineEdit>(form, name);
        box->setText(text);
        emit box->editingFinished();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& box : ui_.presenter->boxes) texts.push_back(box.text);
        return texts;
    }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    std::shared_ptr<RecordingWindow> window_ = std::make_shared<RecordingWindow>();
    ui::MainWindow main_{"Mirelda"};
    std::vector<std::string> ran_;
    std::function<void()> onDriver_;
};

TEST_F(CollectorScreens, ScreensArePlacedFilledAndPictured) {
    Start();
    EXPECT_EQ(main_.windowTitle(), QString("Mirelda  Ver.") + ui::kProgramVersion);
    const QWidget* menu = main_.findChild<QWidget*>("frmGetMenu")->parentWidget();
    EXPECT_EQ(menu->pos(), QPoint(0, 0));
    EXPECT_GE(menu->height(), 742);
    for (const char* form : {"frmGetBsc", "frmGetEnv", "frmGetHelp"}) {
        const QWidget* window = main_.findChild<QWidget*>(form)->parentWidget();
        EXPECT_EQ(window->x(), menu->x() + menu->width()) << form;
        EXPECT_EQ(window->height(), menu->height()) << form;
        EXPECT_TRUE(window->isVisible()) << form;
        EXPECT_FALSE(window->windowFlags() & Qt::WindowCloseButtonHint) << form;
    }
    EXPECT_EQ(main_.findChild<QMdiArea*>()->activeSubWindow()->widget()->objectName(), "frmGetBsc");
    for (const char* hidden : {"Command2", "Command8", "Command11"}) {
        EXPECT_FALSE(Control(("frmGetMenu"), hidden)->isVisibleTo(main_.findChild<QWidget*>("frmGetMenu")));
    }
    // The defaults as restored, and the company lists reachable.
    EXPECT_TRUE(Control<QRadioButton>("frmGetBsc", "OBtn0201_2")->isChecked());
    EXPECT_TRUE(Control<QRadioButton>("frmGetBsc", "OBtn0203_1")->isChecked());
    EXPECT_FALSE(Control("frmGetBsc", "DateFrom02")->isEnabled());
    EXPECT_FALSE(Control("frmGetBsc", "CmbBox0201")->isEnabled());
    EXPECT_TRUE(Control("frmGetBsc", "CKBox0101_1")->isEnabled());
    EXPECT_TRUE(Control("frmGetBsc", "BasicCommand1")->isEnabled());
    EXPECT_EQ(Control<QLineEdit>("frmGetEnv", "MultiCount")->text(), "2");
    EXPECT_FALSE(Control("frmGetEnv", "TextListViewMax")->isEnabled());
    EXPECT_TRUE(Control<QCheckBox>("frmGetHelp", "CKBox0105_4")->isChecked());

    fs::create_directories(COLLECTOR_SCREENS_DIR);
    main_.resize(1280, 860);
    QApplication::processEvents();
    EXPECT_TRUE(main_.grab().save(COLLECTOR_SCREENS_DIR "/frmMain.png"));
    for (const char* form : {"frmGetMenu", "frmGetBsc", "frmGetEnv", "frmGetHelp", "frmGetBotn"}) {
        QWidget* screen = main_.findChild<QWidget*>(form);
        EXPECT_TRUE(screen->grab().save(QString(COLLECTOR_SCREENS_DIR "/") + form + ".png")) << form;
    }
}

TEST_F(CollectorScreens, ChoicesAreStoredAsMadeAndDamagedValuesFallBack) {
    common::WriteSetting("MirControl\\HpGet\\HpSelect", "7");
    common::WriteSetting("MirControl\\HpGet\\HpPr", "0");
    Start();
    EXPECT_TRUE(Control<QRadioButton>("frmGetBsc", "OBtn0201_2")->isChecked());
    EXPECT_TRUE(Control<QRadioButton>("frmGetBsc", "OBtn0203_1")->isChecked());
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\HpSelect"), "7") << "a restore writes nothing";

    Click("frmGetBsc", "CKBox0102_2");
    Click("frmGetBsc", "OBtn0202_3");
    Click("frmGetBsc", "OBtn0203_3");
    Type("frmGetBsc", "DateFrom02", "2004/1/5");
    Control<QLineEdit>("frmGetBsc", "DateTo02")->setText("2004/2/1");
    Click("frmGetHelp", "CKBox0105_4");
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\BscCorp02"), "0");
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\HpCandle"), "3");
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\HpPr"), "3");
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\HpPrFrom"), "2004/1/5");
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\HpPrTo"), "2004/2/1");
    EXPECT_TRUE(Control("frmGetBsc", "DateFrom02")->isEnabled());
    EXPECT_EQ(common::ReadSetting("MirControl\\Help\\MngCntry04"), "0");
    // Exported at once, for the analysis program's next start.
    common::EnvRec env;
    common::CCENV00M(env);
    common::WriteSetting("MirControl\\Help\\MngCntry04", "1");
    common::ImportSettingsGroup(7, env);
    EXPECT_EQ(common::ReadSetting("MirControl\\Help\\MngCntry04"), "0");
}

TEST_F(CollectorScreens, EachRunButtonRunsItsDriversInChainOrder) {
    Start();
    Click("frmGetBsc", "CKBox0101_1");
    const std::map<std::string, std::vector<std::string>> expected = {
        {"BasicCommand0", {"AEXCG00M:1"}},
        {"BasicCommand1", {"ALIST00M:1"}},
        {"BasicCommand2", {"ACORP00M:1", "ACORP00M:2"}},
        {"BasicCommand4", {"ACORP00M:1"}},
        {"Btn0201", {"AHPJP00M:1", "AHPJP00M:3", "AHPJP00M:2"}},
        {"BasicCommand6",
         {"AEXCG00M:1", "ALIST00M:1", "ACORP00M:1", "ACORP00M:2", "ACORP00M:1", "ACORP00M:3", "ACORP00M:2",
          "ACORP00M:1", "AHPJP00M:1", "AHPJP00M:3", "AHPJP00M:2"}},
    };
    for (const auto& [button, drivers] : expected) {
        ran_.clear();
        window_->shown.clear();
        Click("frmGetBsc", button.c_str());
        EXPECT_EQ(ran_, drivers) << button;
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), std::string(50, '0')) << button;
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "") << button;
        EXPECT_EQ(window_->shown, (std::vector<bool>{false, true})) << button;
        EXPECT_FALSE(common::State().busy) << button;
    }
    EXPECT_TRUE(ui_.presenter->boxes.empty());
    // The settings groups went to their files before the run.
    EXPECT_TRUE(fs::exists(folder_.data() / "DispData" / "DspSaveNo04.dat"));
}

TEST_F(CollectorScreens, RefusedPriceCheckWarnsAndRunsNothing) {
    Start();
    for (const char* box : {"CKBox0201_1", "CKBox0201_2", "CKBox0201_3"}) Click("frmGetBsc", box);
    Click("frmGetBsc", "Btn0201");
    EXPECT_EQ(Texts(), std::vector<std::string>{"国を選択して下さい。　"});
    EXPECT_EQ(ui_.presenter->boxes[0].style, 48);
    EXPECT_TRUE(ran_.empty());

    Click("frmGetBsc", "OBtn0201_1");
    Click("frmGetBsc", "OBtn0203_3");
    Type("frmGetBsc", "DateFrom02", "2004/1/6");
    Type("frmGetBsc", "DateTo02", "2004/01/05");
    Click("frmGetBsc", "Btn0201");
    EXPECT_EQ(Texts().back(), "開始日付＜終了日付で入力して下さい。　");
    EXPECT_TRUE(Control("frmGetBsc", "DateFrom02")->styleSheet().contains("red"));
    EXPECT_TRUE(Control("frmGetBsc", "DateTo02")->styleSheet().contains("red"));
    EXPECT_TRUE(ran_.empty());

    Type("frmGetBsc", "DateFrom02", "2004/1/5");
    Click("frmGetBsc", "Btn0201");
    EXPECT_EQ(Control<QLineEdit>("frmGetBsc", "DateFrom02")->text(), "2004/01/05");
    EXPECT_TRUE(Control("frmGetBsc", "DateFrom02")->styleSheet().isEmpty());
    EXPECT_EQ(ran_, (std::vector<std::string>{"AHPJP00M:1", "AHPJP00M:3", "AHPJP00M:2"}));
    common::EnvRec env;
    common::CCENV00M(env);
    common::SystemStateRec rec;
    common::ReadSystemStateFile(env, rec);
    EXPECT_EQ(rec.FromDate, "2004/01/05");
    EXPECT_EQ(rec.PeriodMode, "3");
    EXPECT_EQ(rec.Method, "1");
}

// With a real warning box and the keyboard: the date corrected in the box
// the refusal named, and left by Tab, is stored.
TEST_F(CollectorScreens, ADateCorrectedAfterARefusedPriceCheckIsStored) {
    const fs::path log = folder_.root() / "boxes.txt";
    common::InstallUi({std::make_shared<ui::QtMessagePresenter>(log), std::make_shared<testsupport::RecordingForms>(),
                       ui_.pump, window_, std::make_shared<testsupport::ThrowingProgramEnd>()});
    Start();
    main_.activateWindow();
    ASSERT_TRUE(testsupport::ServeUntil([this] { return main_.isActiveWindow(); }));
    Click("frmGetBsc", "OBtn0203_3");
    Type("frmGetBsc", "DateFrom02", "2004/1/6");
    Type("frmGetBsc", "DateTo02", "2004/01/05");
    ASSERT_TRUE(ui::AnswerNextBox("OK"));
    Click("frmGetBsc", "Btn0201");
    EXPECT_EQ(testsupport::ReadBytes(log), "48\t開始日付＜終了日付で入力して下さい。　\n");
    auto& from = *Control<QLineEdit>("frmGetBsc", "DateFrom02");
    EXPECT_TRUE(testsupport::ServeUntil([&from] { return from.hasFocus(); })) << "the focus is not in the date";

    testsupport::TypeAndTab(main_, QStringLiteral("2004/1/5"));
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\HpPrFrom"), "2004/1/5");
    EXPECT_TRUE(ran_.empty());
}

TEST_F(CollectorScreens, BusyPressesDoNothingAndAFailedRunReleasesTheFlag) {
    Start();
    common::State().busy = true;
    Click("frmGetBsc", "BasicCommand6");
    Click("frmGetMenu", "Command7");
    EXPECT_TRUE(ran_.empty());
    EXPECT_NE(main_.findChild<QMdiArea*>()->activeSubWindow()->widget()->objectName(), "frmGetEnv");
    common::State().busy = false;

    onDriver_ = [] { throw platform::TrappedError(6, "オーバーフローしました。", "AEXCG00M"); };
    EXPECT_THROW(Click("frmGetBsc", "BasicCommand0"), testsupport::ProgramEnded);
    EXPECT_FALSE(common::State().busy);
}

TEST_F(CollectorScreens, AnInterruptedRunIsOfferedBeforeTheScreensChoicesCount) {
    Start();
    common::WriteSetting("MirControl\\Common\\Cancel", "1");
    common::WriteSetting("MirControl\\Common\\ProcName", "株価時系列（国内）");
    common::WriteSetting("MirControl\\Common\\Batch", "00000000000000000000000001000000000000000000000000");
    common::EnvRec env;
    common::CCENV00M(env);
    common::SystemStateRec before;
    common::ReadSystemStateFile(env, before);
    Click("frmGetBsc", "OBtn0202_2");
    ui_.presenter->answers = {1};
    Click("frmGetBsc", "BasicCommand6");
    EXPECT_EQ(ran_, (std::vector<std::string>{"resume", "AHPJP00M:1"}));
    common::SystemStateRec after;
    common::ReadSystemStateFile(env, after);
    EXPECT_EQ(after.Candle, before.Candle) << "the resumed run read the interrupted run's candle";
}

TEST_F(CollectorScreens, RunMarksAndTheEnvironmentReset) {
    common::WriteSetting("MirControl\\Common\\Exec", "2");
    Start();
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "2") << "the other program's mark stays";
    common::WriteSetting("MirControl\\Common\\Exec", "1");
    {
        ui::MainWindow second("Mirelda");
        collector_ui::HpGtMenu(second);
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");
        // The run that left it was cut off: the next start of a run offers its resume.
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "1");
    }

    common::EnvRec env;
    common::CCENV00M(env);
    common::WriteSetting("MirControl\\Common\\Batch", std::string(50, '1'));
    {
        const platform::InstanceLock korvane(env.folder(common::Folder::Ctrl) + "/Korvane.lock");
        ui_.presenter->answers = {1};
        Click("frmGetHelp", "HelpCommand2");
        EXPECT_NE(Texts().back().find("「Korvane」処理中です。"), std::string::npos);
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), std::string(50, '1'));
    }
    ui_.presenter->answers = {2};
    Click("frmGetHelp", "HelpCommand2");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), std::string(50, '1'));
    ui_.presenter->answers = {1};
    Click("frmGetHelp", "HelpCommand2");
    EXPECT_EQ(Texts().back(), "実行環境をリセットしました。");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), "");

    Click("frmGetHelp", "HelpCommand3");
    EXPECT_EQ(Texts().back(), "中断中の処理はありません。");
    EXPECT_FALSE(common::State().busy);
}

TEST_F(CollectorScreens, EnvironmentEntriesOutsideTheirRangeFallToTheLowerBound) {
    Start();
    const std::pair<const char*, const char*> entries[] = {{"10", "10"}, {"11", "1"}, {"0", "1"}, {"abc", "1"}, {"3", "3"}};
    for (const auto& [typed, kept] : entries) {
        ui_.presenter->boxes.clear();
        Type("frmGetEnv", "MultiCount", typed);
        EXPECT_EQ(Control<QLineEdit>("frmGetEnv", "MultiCount")->text(), kept) << typed;
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\MultiTask"), kept) << typed;
        EXPECT_EQ(Texts(), std::string(typed) == kept ? std::vector<std::string>{}
                                                      : std::vector<std::string>{"１から１０の範囲で入力してください。　"})
            << typed;
    }
    // Leaving the screen with an invalid entry brings the user back to it.
    Click("frmGetMenu", "Command7");
    Control<QLineEdit>("frmGetEnv", "MultiCount")->setText("12");
    Click("frmGetMenu", "Command3");
    EXPECT_EQ(main_.findChild<QMdiArea*>()->activeSubWindow()->widget()->objectName(), "frmGetEnv");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\MultiTask"), "1");

    common::WriteSetting("MirControl\\Common\\ListMax", "0");
    ui::MainWindow second("Mirelda");
    collector_ui::HpGtMenu(second);
    EXPECT_EQ(second.findChild<QWidget*>("frmGetEnv")->findChild<QLineEdit*>("TextListViewMax")->text(), "100");
}

TEST_F(CollectorScreens, CodeMasterInitialisationWithoutIndustriesWarns) {
    Start();
    ui_.presenter->answers = {1};
    Click("frmGetHelp", "HelpCommand1");
    EXPECT_EQ(Texts().back(), "業種情報が存在しません。　");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");
    EXPECT_FALSE(common::State().busy);
}

// The industry series' completion is told only when a series was written.
TEST_F(CollectorScreens, IndustrySeriesTellWhetherASeriesWasWritten) {
    using collect_test::IndustryRecord;
    using collect_test::MemberStock;
    constexpr const char* kAsk = "業種別株価時系列データを作成します。宜しいですか？　";
    constexpr const char* kNone = "作成された業種別株価時系列データはありませんでした。　";
    constexpr const char* kMade = "業種別株価時系列データを作成しました。　";
    const struct {
        const char* name;
        bool master;
        bool memberSeries;
        std::vector<std::pair<int, std::string>> boxes;
    } cases[] = {
        {"an empty code master", false, false, {{33, kAsk}, {48, "処理対象の企業が存在しません。　"}, {48, kNone}}},
        {"no member series", true, false, {{33, kAsk}, {48, kNone}}},
        {"a member series", true, true, {{33, kAsk}, {64, kMade}}},
    };
    Start();
    common::EnvRec env;
    common::CCENV00M(env);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.master) {
            collect_test::WriteMaster(env, {IndustryRecord("0050", "3050", "食料品"), MemberStock("1301", "3050", "", "1000")});
        }
        if (c.memberSeries) {
            collect_test::WriteCalendar(env, "2024/01/04\r\n2024/01/05\r\n");
            collect_test::WriteSeries(env, "1301", {"2024/01/04\t100\t110\t90\t105\t1000\t105",
                                                     "2024/01/05\t106\t112\t104\t110\t1000\t110"});
        }
        ui_.presenter->boxes.clear();
        ui_.presenter->answers = {1};
        Click("frmGetHelp", "HelpCommand5");
        std::vector<std::pair<int, std::string>> shown;
        for (const auto& box : ui_.presenter->boxes) shown.emplace_back(box.style, box.text.substr(0, box.text.find('\r')));
        EXPECT_EQ(shown, c.boxes);
        EXPECT_EQ(fs::exists(collect_test::SeriesPath(env, "0050", "3050", ".txt")), c.memberSeries);
        EXPECT_FALSE(common::State().busy);
    }
}

TEST_F(CollectorScreens, ExitExportsTheGroupsAndEnds) {
    Start();
    Click("frmGetBsc", "CKBox0204");
    EXPECT_THROW(Click("frmGetMenu", "Command6"), testsupport::ProgramEnded);
    for (const char* file : {"DspSaveNo04.dat", "DspSaveNo06.dat"}) {
        EXPECT_TRUE(fs::exists(folder_.data() / "DispData" / file)) << file;
    }
    common::WriteSetting("MirControl\\HpGet\\HpBackUp", "1");
    common::EnvRec env;
    common::CCENV00M(env);
    common::ImportSettingsGroup(4, env);
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\HpBackUp"), "0");
}

TEST_F(CollectorScreens, MaintenanceButtonsRunUnderTheBusyFlag) {
    Start();
    common::State().busy = true;
    Click("frmGetBotn", "Btn0317");
    EXPECT_TRUE(ran_.empty());
    common::State().busy = false;
    Click("frmGetBotn", "Btn0317");
    EXPECT_EQ(ran_, std::vector<std::string>{"AHPID00M:0"});
    // The research-provider tool on an empty code master warns, and the screens stay usable.
    Click("frmGetBotn", "Btn0305");
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text.rfind("処理対象の企業が存在しません。　", 0), 0u);
    EXPECT_FALSE(common::State().busy);
}

TEST_F(CollectorScreens, CancelAndEmergencyStopFromTheRunsProgressDialog) {
    common::InstallUi({ui_.presenter, std::make_shared<ui::QtProgressForms>(), ui_.pump, window_,
                       std::make_shared<testsupport::ThrowingProgramEnd>()});
    Start();
    auto pressDuringRun = [this](const char* button, int answer) {
        onDriver_ = [button, answer, this] {
            QWidget& dialog = dynamic_cast<QWidget&>(common::Ui().progress->Show("FormProgress1"));
            ui_.presenter->answers = {answer};
            dialog.findChild<QPushButton*>(button)->click();
        };
    };
    // The cancel stops the chain after the running step, which stays requested.
    pressDuringRun("BtnCan", 1);
    Click("frmGetBsc", "BasicCommand2");
    EXPECT_EQ(ran_, std::vector<std::string>{"ACORP00M:1"});
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "1");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch").substr(10, 3), "111");
    EXPECT_FALSE(common::State().busy);

    // The emergency stop ends the children that still run, resets and ends.
    common::WriteSetting("MirControl\\Common\\Cancel", "");
    const std::optional<pid_t> child = platform::StartProcess("/bin/sleep", {"60"});
    ASSERT_TRUE(child.has_value());
    common::NoteLiveChild(*child);
    ran_.clear();
    pressDuringRun("BtnEmg", 1);
    EXPECT_THROW(Click("frmGetBsc", "BasicCommand0"), testsupport::ProgramEnded);
    EXPECT_EQ(::kill(*child, 0), -1);
    EXPECT_EQ(errno, ESRCH);
    for (const char* key : {"Exec", "Batch", "ProcName", "ProcId"}) {
        EXPECT_EQ(common::ReadSetting(std::string("MirControl\\Common\\") + key), "") << key;
    }
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "0");
    EXPECT_FALSE(common::State().busy);
}

}  // namespace
