// Korvane's interactive start and main menu offscreen: the analysis
// information built or kept at start, the screens set up, placed and
// pictured, the menu bringing each screen forward, the analysis information
// built on request, and the settings kept at the end.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMdiArea>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/analysis_parts.h"
#include "analyzer_ui/ksen_menu.h"
#include "common/files/data_file.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/settings/settings.h"
#include "common/settings/settings_group.h"
#include "common/startup/program_parts.h"
#include "common/startup/run_env.h"
#include "marketdata/analysis_info_reader.h"
#include "tests/support/fake_ui.h"
#include "tests/support/judgement_market.h"
#include "tests/support/program_folder.h"
#include "ui/main_window.h"
#include "ui/program_version.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kNoCompany = "処理対象の企業が存在しません。　";

class KorvaneScreens : public ::testing::Test {
protected:
    KorvaneScreens() {
        common::InstallUi({ui.presenter, std::make_shared<testsupport::RecordingForms>(), ui.pump, nullptr,
                           std::make_shared<testsupport::ThrowingProgramEnd>()});
        common::InstallProgramParts(analysis::AnalysisProgramParts());
        common::CCENV00M(env);
    }
    ~KorvaneScreens() override { common::InstallProgramParts({}); }

    void WriteMarket() { testsupport::WriteJudgementMarket(env, 6, 120); }

    // The stamps that the common start-up notes from the files before the
    // program's own start.
    void NoteStamps(const std::string& master, const std::string& info) {
        common::WriteSetting("MirControl\\Counter\\DateTrlCdm", master);
        common::WriteSetting("MirControl\\Counter\\DateTrlMng", info);
    }

    fs::path DataPath(long fileNumber) { return common::BuildDataFilePath(fileNumber, 0, 0, "", "", env); }

    template <typename Widget = QWidget>
    Widget* Control(const char* form, const char* name) {
        QWidget* screen = main.findChild<QWidget*>(form);
        return screen != nullptr ? screen->findChild<Widget*>(name) : nullptr;
    }
    void Click(const char* form, const char* name) {
        auto* button = Control<QAbstractButton>(form, name);
        ASSERT_NE(button, nullptr) << form << "/" << name;
        button->click();
    }
    std::string ActiveScreen() const {
        const QMdiSubWindow* active = main.mdiArea()->activeSubWindow();
        return active != nullptr ? active->widget()->objectName().toStdString() : "";
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& box : ui.presenter->boxes) texts.push_back(box.text);
        return texts;
    }

    testsupport::ProgramFolder folder{true, "Korvane"};
    testsupport::FakeUi ui;
    common::EnvRec env;
    ui::MainWindow main{"Korvane"};
};

TEST_F(KorvaneScreens, StartBuildsTheMissingAnalysisInformationAndShowsEveryScreen) {
    WriteMarket();
    NoteStamps("20261201090000", "");
    analyzer_ui::KsenMenu(main);

    EXPECT_TRUE(fs::exists(DataPath(marketdata::kAnalysisInfoFileNumber)));
    EXPECT_EQ(common::State().analysisTable.size(), 7u);
    EXPECT_FALSE(common::State().analysisIndexTable.empty());
    EXPECT_EQ(Texts(), std::vector<std::string>{});
    EXPECT_EQ(main.windowTitle(), QString("Korvane  Ver.") + ui::kProgramVersion);
    EXPECT_TRUE(main.isEnabled());

    const QWidget* menu = main.findChild<QWidget*>("frmGetKMenu")->parentWidget();
    EXPECT_EQ(menu->pos(), QPoint(0, 0));
    EXPECT_GE(menu->height(), 742);
    const fs::path shots = ANALYZER_SCREENS_DIR;
    fs::create_directories(shots);
    for (const char* form : {"frmGetEnv", "frmGetHelp", "frmKsnParm", "frmKsnList", "frmGetList", "frmGetChart"}) {
        const QWidget* window = main.findChild<QWidget*>(form)->parentWidget();
        EXPECT_EQ(window->x(), menu->x() + menu->width()) << form;
        EXPECT_EQ(window->y(), 0) << form;
        EXPECT_EQ(window->height(), menu->height()) << form;
        EXPECT_TRUE(window->isVisible()) << form;
        EXPECT_FALSE(window->windowFlags() & Qt::WindowCloseButtonHint) << form;
    }
    EXPECT_EQ(ActiveScreen(), "frmGetList");
    // The program's own end of the collection functions.
    EXPECT_FALSE(Control("frmGetHelp", "Frame1")->isEnabled());
    EXPECT_TRUE(Control("frmGetHelp", "Command1")->isEnabled());

    // A larger window places every screen again.
    main.showNormal();
    main.resize(1600, 1000);
    QApplication::processEvents();
    ASSERT_GT(main.mdiArea()->viewport()->width(), 1024);
    const QWidget* stocks = main.findChild<QWidget*>("frmGetList")->parentWidget();
    EXPECT_EQ(stocks->x() + stocks->width(), main.mdiArea()->viewport()->width());

    for (const char* form : {"frmGetKMenu", "frmGetEnv", "frmGetHelp", "frmKsnList", "frmGetList", "frmGetChart"}) {
        main.findChild<QWidget*>(form)->parentWidget()->raise();
        EXPECT_TRUE(main.grab().save(QString::fromStdString((shots / (std::string("korvane_") + form + ".png")).string())))
            << form;
    }
}

TEST_F(KorvaneScreens, AnalysisInformationIsRebuiltOnlyWhenOlderThanTheCodeMaster) {
    WriteMarket();
    NoteStamps("20261201090000", "");
    analyzer_ui::KsenMenu(main);
    const fs::path info = DataPath(marketdata::kAnalysisInfoFileNumber);
    const auto built = fs::last_write_time(info);
    const std::string stamp = common::ReadSetting("MirControl\\Counter\\DateTrlMng");
    ASSERT_EQ(stamp.size(), 14u);

    struct Case {
        std::string master;
        bool rebuilt;
    };
    for (const Case& c : {Case{stamp, false}, Case{"20200101000000", false}, Case{"29991231235959", true}}) {
        SCOPED_TRACE(c.master);
        fs::last_write_time(info, built - std::chrono::hours(1));
        const auto before = fs::last_write_time(info);
        NoteStamps(c.master, stamp);
        common::State().analysisIndexTable.clear();
        ui::MainWindow again("Korvane");
        analyzer_ui::KsenMenu(again);
        EXPECT_EQ(fs::last_write_time(info) != before, c.rebuilt);
        EXPECT_FALSE(common::State().analysisIndexTable.empty());
    }
}

TEST_F(KorvaneScreens, AFreshKorvaneSaysWhereCompaniesComeFromAndEnds) {
    EXPECT_THROW(analyzer_ui::KsenMenu(main), testsupport::ProgramEnded);
    ASSERT_EQ(ui.presenter->boxes.size(), 1u);
    const std::string& text = ui.presenter->boxes[0].text;
    EXPECT_EQ(text.rfind(kNoCompany, 0), 0u);
    EXPECT_NE(text.find("「Mireldaツール」で企業一覧の収集、または「その他の機能」の\r\nコードマスターの初期化"),
              std::string::npos);
    EXPECT_EQ(ui.presenter->boxes[0].style, 48);
}

TEST_F(KorvaneScreens, ABuildThatFindsNoCompanyIsToldOnceAndTheProgramGoesOn) {
    WriteMarket();
    for (int n = 1; n <= 4; ++n) common::WriteSetting("MirControl\\Help\\MngCntry0" + std::to_string(n), "0");
    analyzer_ui::KsenMenu(main);
    ASSERT_EQ(Texts().size(), 2u);
    EXPECT_EQ(Texts()[0].rfind(kNoCompany, 0), 0u);
    EXPECT_EQ(Texts()[1].rfind("分析情報が存在しません。　", 0), 0u);
    EXPECT_EQ(ActiveScreen(), "frmGetList");
}

TEST_F(KorvaneScreens, EachMenuButtonBringsItsScreenForward) {
    WriteMarket();
    analyzer_ui::KsenMenu(main);
    const fs::path stateFile = common::BuildDataFilePath(20002, 0, 0, "", "", env);
    fs::remove(stateFile);
    struct Case {
        const char* button;
        const char* form;
    };
    for (const Case& c : {Case{"Command1", "frmKsnParm"}, Case{"Command2", "frmKsnList"},
                          Case{"Command10", "frmGetChart"}, Case{"Command7", "frmGetEnv"},
                          Case{"Command4", "frmGetHelp"}, Case{"Command12", "frmGetList"}}) {
        Click("frmGetKMenu", c.button);
        EXPECT_EQ(ActiveScreen(), c.form) << c.button;
        EXPECT_FALSE(common::State().busy) << c.button;
    }
    // The first menu choice creates the system state file.
    EXPECT_TRUE(fs::exists(stateFile));
    // Lists disabled for the switch are usable again.
    EXPECT_TRUE(Control("frmGetList", "ListView1")->isEnabled());
    EXPECT_TRUE(Control("frmKsnList", "ListView2")->isEnabled());

    // A second action while one runs does nothing.
    common::State().busy = true;
    Click("frmGetKMenu", "Command1");
    EXPECT_EQ(ActiveScreen(), "frmGetList");
    common::State().busy = false;
}

TEST_F(KorvaneScreens, AnalysisInformationIsCreatedOnRequestUnlessARunStandsInTheWay) {
    WriteMarket();
    analyzer_ui::KsenMenu(main);
    const fs::path info = DataPath(marketdata::kAnalysisInfoFileNumber);
    fs::remove(info);

    common::WriteSetting("MirControl\\Common\\Exec", "1");
    Click("frmGetHelp", "Command1");
    EXPECT_FALSE(fs::exists(info));
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_NE(Texts()[0].find("「Mirelda」処理中です。"), std::string::npos) << Texts()[0];

    common::WriteSetting("MirControl\\Common\\Exec", "");
    ui.presenter->boxes.clear();
    Click("frmGetHelp", "Command1");
    EXPECT_TRUE(fs::exists(info));
    EXPECT_EQ(Texts(), std::vector<std::string>{"分析情報の作成完了。　"});
    EXPECT_TRUE(main.isEnabled());
    EXPECT_FALSE(common::State().busy);

    // Without a code master nothing is written, and no completion is told.
    fs::remove(DataPath(1));
    ui.presenter->boxes.clear();
    Click("frmGetHelp", "Command1");
    ASSERT_FALSE(Texts().empty());
    EXPECT_EQ(Texts()[0].rfind(kNoCompany, 0), 0u);
    for (const std::string& text : Texts()) EXPECT_EQ(text.find("分析情報の作成完了"), std::string::npos);
}

TEST_F(KorvaneScreens, TheEndKeepsTheSettingsGroupsThatTheStartReads) {
    WriteMarket();
    analyzer_ui::KsenMenu(main);
    common::WriteSetting("MirControl\\Kesen\\EnvTdai", "21");
    EXPECT_THROW(Click("frmGetKMenu", "Command6"), testsupport::ProgramEnded);
    const fs::path saved = folder.data() / "DispData";
    for (const int group : {1, 2, 3, 5, 6, 7}) {
        EXPECT_TRUE(fs::exists(saved / ("DspSaveNo0" + std::to_string(group) + ".dat"))) << group;
    }
    EXPECT_FALSE(fs::exists(saved / "DspSaveNo04.dat"));
    EXPECT_TRUE(common::State().analysisTable.empty());

    // The next start puts the kept value back.
    common::WriteSetting("MirControl\\Kesen\\EnvTdai", "15");
    ui::MainWindow again("Korvane");
    analyzer_ui::KsenMenu(again);
    EXPECT_EQ(common::ReadSetting("MirControl\\Kesen\\EnvTdai"), "21");
}

}  // namespace

namespace {

// A user's click with the mouse, which moves the focus as it presses.
void MouseClick(QWidget& widget) {
    const QPoint at = widget.rect().center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const bool down = type == QEvent::MouseButtonPress;
        QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton,
                          down ? Qt::MouseButtons(Qt::LeftButton) : Qt::MouseButtons(Qt::NoButton), Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }
    QApplication::processEvents();
}

TEST_F(KorvaneScreens, LeavingTheJudgementConditionsWithARefusedEntryWarnsOnceAndStays) {
    WriteMarket();
    analyzer_ui::KsenMenu(main);
    main.activateWindow();
    Click("frmGetKMenu", "Command1");
    ASSERT_EQ(ActiveScreen(), "frmKsnParm");
    auto* box = Control<QLineEdit>("frmKsnParm", "EnvAnaMax");
    box->setFocus();
    box->setText("1");
    MouseClick(*Control("frmGetKMenu", "Command2"));
    EXPECT_EQ(Texts(), std::vector<std::string>{"２以上の数値を入力してください。　"});
    EXPECT_EQ(ActiveScreen(), "frmKsnParm");
    EXPECT_EQ(common::ReadSetting("MirControl\\Kesen\\EnvAnaMax"), "99999");
}

TEST_F(KorvaneScreens, LeavingTheStockAnalysisWithARefusedBoundWarnsAndStays) {
    WriteMarket();
    analyzer_ui::KsenMenu(main);
    Click("frmGetKMenu", "Command12");
    ASSERT_EQ(ActiveScreen(), "frmGetList");
    Control<QLineEdit>("frmGetList", "TextFrom012")->setText("5");
    Control<QLineEdit>("frmGetList", "TextTo013")->setText("12a");
    Click("frmGetKMenu", "Command2");
    EXPECT_EQ(Texts(), std::vector<std::string>{"数値を入力してください。　"});
    EXPECT_EQ(ActiveScreen(), "frmGetList");
    EXPECT_EQ(common::ReadSetting("MirControl\\KsnMng\\MngSel2Fm02"), "5");
    EXPECT_EQ(common::ReadSetting("MirControl\\KsnMng\\MngSel2To03"), "");

    Control<QLineEdit>("frmGetList", "TextTo013")->setText("12");
    Click("frmGetKMenu", "Command2");
    EXPECT_EQ(ActiveScreen(), "frmKsnList");
    EXPECT_EQ(common::ReadSetting("MirControl\\KsnMng\\MngSel2To03"), "12");
    EXPECT_EQ(Texts().size(), 1u);
}

}  // namespace
