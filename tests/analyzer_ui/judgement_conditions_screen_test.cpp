// The judgement-conditions screen offscreen: the restore, the stores, the
// checks of the typed conditions, the cascading boxes, the defaults, and the
// judgement started from it with the real Korvane as its children.
#include "analyzer_ui/judgement_conditions_screen.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "analysis/judge_result_file.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/settings/default_settings.h"
#include "common/settings/settings.h"
#include "tests/apps/judgement_installation.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/focus_taking_presenter.h"
#include "tests/support/keyboard_user.h"
#include "tests/support/program_folder.h"
#include "ui/box_answer.h"
#include "ui/qt_message_presenter.h"
#include "ui/ui_script.h"

namespace {

namespace fs = std::filesystem;
using analyzer_ui::JudgementConditionsScreen;

constexpr const char* kEnterNumber = "数値を入力してください。　";
constexpr const char* kZeroOrMore = "０以上の数値を入力してください。　";
constexpr const char* kTwoOrMore = "２以上の数値を入力してください。　";
constexpr const char* kDefaultHsk = "11111000001110000000111111000011100000000000000000";

std::string Kesen(const std::string& key) { return common::ReadSetting("MirControl\\Kesen\\" + key); }
void SetKesen(const std::string& key, const std::string& value) {
    common::WriteSetting("MirControl\\Kesen\\" + key, value);
}

// Every setting the screen shows.
std::map<std::string, std::string> ScreenSettings() {
    std::map<std::string, std::string> values;
    for (const char* key : {"EnvBscLR", "EnvLR", "EnvLRS", "EnvKhn", "EnvHsk", "EnvTdai", "EnvRoeN", "EnvRoeD",
                            "EnvIkoN", "EnvIkoD", "EnvIkoRng", "EnvHnnN", "EnvHnnD", "EnvAnaMin", "EnvAnaMax",
                            "EnvAnadpt", "EnvRoaIgA", "EnvRoaIgB", "EnvRoaIgC", "EnvChange", "EnvRoaIg1", "EnvRoaIg2",
                            "EnvRoaIg3", "EnvRange", "EnvKagi01", "EnvKagi02", "EnvKagi03", "EnvKagi04", "EnvSumRng"}) {
        values[key] = Kesen(key);
    }
    return values;
}

using testsupport::FocusTakingPresenter;

// The screen shown and active, so that the focus moves as a user moves it,
// from settings at their defaults.
class JudgementConditionsTest : public ::testing::Test {
protected:
    JudgementConditionsTest() {
        common::WriteKesenDefaults();
        screen.resize(1000, 700);
        screen.show();
        screen.activateWindow();
        QApplication::processEvents();
        common::InstallUi({presenter, nullptr, ui.pump, nullptr, nullptr});
    }

    template <typename Widget = QCheckBox>
    Widget& Control(const char* name) {
        auto* widget = screen.findChild<Widget*>(name);
        if (widget == nullptr) throw std::invalid_argument(name);
        return *widget;
    }
    QLineEdit& Text(const char* name) { return Control<QLineEdit>(name); }
    void Click(const char* name) { Control<QAbstractButton>(name).click(); }
    void ShowTab(int index) {
        Control<QTabWidget>("TabFrame").setCurrentIndex(index);
        QApplication::processEvents();
    }
    // Types into the box and moves on, as a user leaves it.
    void Leave(const char* name, const QString& text) {
        QLineEdit& box = Text(name);
        box.setFocus();
        box.setText(text);
        Control<QPushButton>("Command1").setFocus();
    }
    const std::vector<testsupport::ShownBox>& Boxes() const { return presenter->boxes; }

    testsupport::ProgramFolder folder{true};
    testsupport::FakeUi ui;
    JudgementConditionsScreen screen;
    std::shared_ptr<FocusTakingPresenter> presenter =
        std::make_shared<FocusTakingPresenter>(*screen.findChild<QWidget*>("Command1"));
};

TEST_F(JudgementConditionsTest, RestoreShowsTheSettingsAndWritesNothingBack) {
    SetKesen("EnvTdai", " 20 ");
    SetKesen("EnvRange", "7");
    SetKesen("EnvKhn", "1010");  // short: the boxes beyond it stay clear
    SetKesen("EnvLRS", "01x01");
    SetKesen("EnvHsk", "0000000001");
    SetKesen("EnvKagi02", "0");
    SetKesen("EnvRoaIgB", "1");
    SetKesen("EnvChange", "0");
    SetKesen("EnvBscLR", "1");
    SetKesen("EnvLR", "0");
    SetKesen("EnvSumRng", "");
    const auto before = ScreenSettings();
    screen.Restore();

    EXPECT_EQ(Text("EnvTdai").text(), "20");
    EXPECT_EQ(Text("EnvKagiRng").text(), "7");
    EXPECT_EQ(Text("EnvIkoRng").text(), "");
    EXPECT_EQ(Control<QComboBox>("CmbSumRng").currentText(), "直近5年");
    EXPECT_EQ(Control<QComboBox>("CmbSumRng").count(), 5);
    const std::map<std::string, bool> ticked = {
        {"CkBoxKihon_1", true},         {"CkBoxKihon_2", false},        {"CkBoxKihon_3", true},
        {"CkBoxKihon_20", false},       {"CkBoxDispHosokuAll_1", false}, {"CkBoxDispHosokuAll_2", true},
        {"CkBoxDispHosokuAll_3", false}, {"CkBoxDispHosokuAll_5", true}, {"CkBoxDispHosoku_1", false},
        {"CkBoxDispHosoku_10", true},   {"CKBox0105_1", true},          {"CKBox0105_2", false},
        {"EnvRoaIgA", false},           {"EnvRoaIgB", true},            {"EnvChange", false},
        {"CkBoxBasicLawsReset", true},  {"CkBoxLawsAllReset", false},
    };
    for (const auto& [name, on] : ticked) EXPECT_EQ(Control(name.c_str()).isChecked(), on) << name;
    EXPECT_EQ(ScreenSettings(), before);

    // Again, with the stores connected: the cascades of the restored boxes do not run either.
    SetKesen("EnvLR", "1");
    SetKesen("EnvSumRng", "4");
    const auto second = ScreenSettings();
    screen.Restore();
    EXPECT_TRUE(Control("CkBoxLawsAllReset").isChecked());
    EXPECT_EQ(Control<QComboBox>("CmbSumRng").currentText(), "直近15年");
    EXPECT_FALSE(Control("CkBoxDispHosoku_1").isChecked());
    EXPECT_EQ(ScreenSettings(), second);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(JudgementConditionsTest, EveryChoiceIsStoredAtOnce) {
    screen.Restore();
    Click("EnvRoaIgA");
    EXPECT_EQ(Kesen("EnvRoaIgA"), "1");
    Click("EnvChange");
    EXPECT_EQ(Kesen("EnvChange"), "0");
    Click("CKBox0105_3");
    EXPECT_EQ(Kesen("EnvKagi03"), "0");
    Control<QComboBox>("CmbSumRng").setCurrentIndex(4);
    EXPECT_EQ(Kesen("EnvSumRng"), "4");
    Click("CkBoxKihon_3");
    EXPECT_EQ(Kesen("EnvKhn"), "00100000000000000000");
    Click("CkBoxDispHosoku_7");
    EXPECT_EQ(Kesen("EnvHsk"), "11111010001110000000111111000011100000000000000000");
    Leave("EnvTdai", "25");
    EXPECT_EQ(Kesen("EnvTdai"), "25");
    Leave("EnvKagiRng", "3");
    EXPECT_EQ(Kesen("EnvRange"), "3");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(JudgementConditionsTest, ARefusedEntryWarnsKeepsTheFocusAndTheStoredValue) {
    screen.Restore();
    const struct {
        const char* box;
        const char* text;
        const char* warning;
        const char* setting;
        const char* stored;
    } cases[] = {
        {"EnvAnaMax", "1", kTwoOrMore, "EnvAnaMax", "99999"},
        {"EnvTdai", "-1", kZeroOrMore, "EnvTdai", "15"},
        {"EnvKagiRng", "abc", kEnterNumber, "EnvRange", "2"},
    };
    for (const auto& c : cases) {
        presenter->boxes.clear();
        Leave(c.box, QString::fromUtf8(c.text));
        ASSERT_EQ(Boxes().size(), 1u) << c.box;  // the warning's own focus change is not checked again
        EXPECT_EQ(Boxes()[0].text, c.warning) << c.box;
        EXPECT_EQ(Boxes()[0].style, 48) << c.box;
        EXPECT_TRUE(Text(c.box).hasFocus()) << c.box;
        EXPECT_EQ(Text(c.box).text(), c.text) << c.box;
        EXPECT_EQ(Kesen(c.setting), c.stored) << c.box;
        Text(c.box).setText(QString::fromUtf8(c.stored));
    }

    // Leaving the screen checks the boxes in their order and stops at the first refusal.
    presenter->boxes.clear();
    Text("EnvTdai").setText("abc");
    Text("EnvAnaMax").setText("1");
    EXPECT_FALSE(screen.CheckOnLeave());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kTwoOrMore);
    EXPECT_TRUE(Text("EnvAnaMax").hasFocus());

    Text("EnvAnaMax").setText("50");
    EXPECT_FALSE(screen.CheckOnLeave());
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, kEnterNumber);
    EXPECT_TRUE(Text("EnvTdai").hasFocus());
    EXPECT_EQ(Kesen("EnvAnaMax"), "50");  // what passed is stored
    EXPECT_EQ(Kesen("EnvTdai"), "15");

    Text("EnvTdai").setText("12.5");
    EXPECT_TRUE(screen.CheckOnLeave());
    EXPECT_EQ(Kesen("EnvTdai"), "12.5");
    EXPECT_EQ(Boxes().size(), 2u);
}

// With a real warning box, answered as a user does, and the keyboard: after
// the refusal the box is corrected and left by Tab, and the correction is
// what the box shows and what is stored.
TEST_F(JudgementConditionsTest, ACorrectionAfterARefusalIsStoredOnEveryCheckedBox) {
    screen.Restore();
    const fs::path log = folder.root() / "boxes.txt";
    common::InstallUi({std::make_shared<ui::QtMessagePresenter>(log), nullptr, ui.pump, nullptr, nullptr});
    const struct {
        const char* box;
        const char* refused;
        const char* warning;
        const char* corrected;
        const char* setting;
    } cases[] = {
        {"EnvTdai", "abc", kEnterNumber, "25", "EnvTdai"},     {"EnvIkoRng", "-1", kZeroOrMore, "20", "EnvIkoRng"},
        {"EnvKagiRng", "1", kTwoOrMore, "5", "EnvRange"},      {"EnvRoeN", "-1", kZeroOrMore, "2", "EnvRoeN"},
        {"EnvRoeD", "x", kEnterNumber, "6", "EnvRoeD"},         {"EnvIkoN", "-3", kZeroOrMore, "2", "EnvIkoN"},
        {"EnvIkoD", "abc", kEnterNumber, "4", "EnvIkoD"},       {"EnvHnnN", "-2", kZeroOrMore, "1", "EnvHnnN"},
        {"EnvHnnD", "x", kEnterNumber, "3", "EnvHnnD"},         {"EnvAnaMin", "-1", kZeroOrMore, "3", "EnvAnaMin"},
        {"EnvAnaMax", "1", kTwoOrMore, "9", "EnvAnaMax"},       {"EnvAnadpt", "abc", kEnterNumber, "-5", "EnvAnadpt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        fs::remove(log);
        QLineEdit& box = Text(c.box);
        ASSERT_TRUE(testsupport::FocusByClick(box));
        const std::string stored = Kesen(c.setting);
        ASSERT_TRUE(ui::AnswerNextBox("OK"));
        testsupport::TypeAndTab(screen, QString::fromUtf8(c.refused));
        EXPECT_EQ(testsupport::ReadBytes(log), std::string("48\t") + c.warning + "\n");
        EXPECT_TRUE(testsupport::ServeUntil([&box] { return box.hasFocus(); })) << "the focus is not back in the box";
        EXPECT_EQ(Kesen(c.setting), stored);

        testsupport::TypeAndTab(screen, QString::fromUtf8(c.corrected));
        EXPECT_EQ(box.text(), QString::fromUtf8(c.corrected));
        EXPECT_EQ(Kesen(c.setting), c.corrected);
        EXPECT_FALSE(box.hasFocus());
    }
}

// The screen script's "text" types and leaves the box as the keyboard does,
// so a screen that checks a box when it is left sees it left.
TEST_F(JudgementConditionsTest, TheScreenScriptTypesAndLeavesABoxAsAUserDoes) {
    screen.Restore();
    const fs::path log = folder.root() / "boxes.txt";
    common::InstallUi({std::make_shared<ui::QtMessagePresenter>(log), nullptr, ui.pump, nullptr, nullptr});
    const fs::path script = folder.root() / "script.txt";
    testsupport::WriteBytes(script, "answer OK\ntext frmKsnParm/EnvTdai abc\ntext frmKsnParm/EnvTdai 25\n"
                                    "answer OK\ntext frmKsnParm/EnvAnaMax 1\ntext frmKsnParm/EnvAnaMax 9\n");
    bool ended = false;
    ui::RunUiScript(script.string(), [&ended] { ended = true; });
    ASSERT_TRUE(testsupport::ServeUntil([&ended] { return ended; }));

    EXPECT_EQ(testsupport::ReadBytes(log), std::string("48\t") + kEnterNumber + "\n48\t" + kTwoOrMore + "\n");
    EXPECT_EQ(Text("EnvTdai").text(), "25");
    EXPECT_EQ(Kesen("EnvTdai"), "25");
    EXPECT_EQ(Text("EnvAnaMax").text(), "9");
    EXPECT_EQ(Kesen("EnvAnaMax"), "9");
}

TEST_F(JudgementConditionsTest, CascadingBoxesFollowAndTheirMasksAreStored) {
    screen.Restore();
    ShowTab(1);
    Click("CkBoxBasicLawsReset");
    EXPECT_EQ(Kesen("EnvBscLR"), "1");
    EXPECT_EQ(Kesen("EnvKhn"), std::string(20, '1'));
    EXPECT_TRUE(Control("CkBoxKihon_20").isChecked());
    Click("CkBoxBasicLawsReset");
    EXPECT_EQ(Kesen("EnvKhn"), std::string(20, '0'));

    ShowTab(2);
    Click("CkBoxDispHosoku_7");  // a reserve box no family sets
    Click("CkBoxLawsAllReset");
    EXPECT_EQ(Kesen("EnvLR"), "0");
    EXPECT_EQ(Kesen("EnvHsk"), "00000010000000000000000000000000000000000000000000");
    EXPECT_EQ(Kesen("EnvLRS"), "00000");
    for (const char* name :
         {"CkBoxDispHosokuAll_1", "CkBoxDispHosokuAll_4", "CkBoxDispHosoku_1", "CkBoxDispHosoku_33"}) {
        EXPECT_FALSE(Control(name).isChecked()) << name;
    }

    Click("CkBoxDispHosokuAll_3");
    EXPECT_EQ(Kesen("EnvHsk"), "00000010000000000000111111000000000000000000000000");
    EXPECT_EQ(Kesen("EnvLRS"), "00100");
    EXPECT_TRUE(Control("CkBoxDispHosoku_26").isChecked());
    EXPECT_FALSE(Control("CkBoxDispHosoku_27").isChecked());
    Click("CkBoxDispHosokuAll_5");  // the reserve family has no rules to set
    EXPECT_EQ(Kesen("EnvHsk"), "00000010000000000000111111000000000000000000000000");
    EXPECT_EQ(Kesen("EnvLRS"), "00101");

    // The family boxes come back as they were left.
    JudgementConditionsScreen again;
    again.Restore();
    EXPECT_TRUE(again.findChild<QCheckBox*>("CkBoxDispHosokuAll_3")->isChecked());
    EXPECT_TRUE(again.findChild<QCheckBox*>("CkBoxDispHosokuAll_5")->isChecked());
    EXPECT_FALSE(again.findChild<QCheckBox*>("CkBoxDispHosokuAll_1")->isChecked());

    Click("CkBoxLawsAllReset");
    EXPECT_EQ(Kesen("EnvHsk"), "11111010001110000000111111000011100000000000000000");
    EXPECT_EQ(Kesen("EnvLRS"), "11111");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(JudgementConditionsTest, RestoringTheDefaultsPutsBackSettingsAndControls) {
    screen.Restore();
    const auto defaults = ScreenSettings();
    Leave("EnvTdai", "30");
    Click("CKBox0105_1");
    Click("CkBoxLawsAllReset");
    Control<QComboBox>("CmbSumRng").setCurrentIndex(0);

    common::State().busy = true;  // another action runs: the button does nothing
    Click("Command1");
    EXPECT_EQ(Text("EnvTdai").text(), "30");
    common::State().busy = false;

    Click("Command1");
    EXPECT_EQ(Text("EnvTdai").text(), "15");
    EXPECT_EQ(ScreenSettings(), defaults);
    EXPECT_TRUE(Control("CKBox0105_1").isChecked());
    EXPECT_TRUE(Control("CkBoxDispHosoku_1").isChecked());
    EXPECT_TRUE(Control("CkBoxDispHosokuAll_4").isChecked());
    EXPECT_EQ(Control<QComboBox>("CmbSumRng").currentIndex(), 2);
    EXPECT_FALSE(common::State().busy);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(JudgementConditionsTest, StartWithARefusedBoxRunsNothing) {
    screen.Restore();
    Text("EnvHnnD").setFocus();
    Text("EnvHnnD").setText("x");
    Click("BasicCommand7");
    ASSERT_EQ(Boxes().size(), 1u);  // the box losing the focus to the warning is not checked again
    EXPECT_EQ(Boxes()[0].text, kEnterNumber);
    EXPECT_TRUE(Text("EnvHnnD").hasFocus());
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), "");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");
    EXPECT_FALSE(common::State().busy);
}

TEST_F(JudgementConditionsTest, ScreenFitsBesideTheMenuAndIsPictured) {
    screen.Restore();
    // The area right of the menu on a 1280 x 800 screen.
    EXPECT_LE(screen.minimumSizeHint().width(), 1000);
    EXPECT_LE(screen.minimumSizeHint().height(), 700);
    const fs::path folder = ANALYZER_SCREENS_DIR;
    fs::create_directories(folder);
    for (int tab = 0; tab < 3; ++tab) {
        ShowTab(tab);
        const fs::path file = folder / ("frmKsnParm_" + std::to_string(tab + 1) + ".png");
        EXPECT_TRUE(screen.grab().save(QString::fromStdString(file.string())));
    }
}

TEST(JudgementConditionsStart, StartsTheJudgementOfTheTickedCountriesWithKorvaneChildren) {
    judgement_e2e::Installation run;
    common::WriteKesenDefaults();
    common::WriteSetting("MirControl\\Common\\Batch", "");
    JudgementConditionsScreen screen;
    screen.Restore();
    for (const char* name : {"CKBox0105_2", "CKBox0105_3", "CKBox0105_4"}) screen.findChild<QCheckBox*>(name)->click();

    screen.findChild<QPushButton*>("BasicCommand7")->click();
    EXPECT_EQ(run.ExpectCompleteRun().size(), 2u);
    for (const char* country : {"USA", "CHN"}) {
        EXPECT_FALSE(fs::exists(analysis::CountryDataFilePath(run.env, 40001, 0, 0, country, "", ".dat"))) << country;
    }
    EXPECT_EQ(Kesen("EnvIkoRng"), "");  // the blank default passes as the 0 the judgement reads
    EXPECT_FALSE(common::State().busy);
    EXPECT_TRUE(run.ui.presenter->boxes.empty());
}

}  // namespace
