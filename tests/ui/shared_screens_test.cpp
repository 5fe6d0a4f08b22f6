// The screens and routines both programs carry: the settings-to-controls
// generics, the environment and other-functions screens as the analysis
// program configures them, and the screen-action script.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/screens/ui_seam.h"
#include "common/settings/default_settings.h"
#include "common/settings/settings.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/keyboard_user.h"
#include "tests/support/program_folder.h"
#include "ui/box_answer.h"
#include "ui/environment_screen.h"
#include "ui/form_controls.h"
#include "ui/other_functions_screen.h"
#include "ui/qt_message_presenter.h"
#include "ui/ui_script.h"

namespace {

TEST(SharedScreens, ComboSelectionsFromSettings) {
    testsupport::ProgramFolder folder(true);
    QComboBox combo;
    combo.addItems({"CHN", "JPN", "USA"});
    combo.setCurrentIndex(1);
    common::WriteSetting("MirControl\\KsnSum\\RsltSlctCntry", " CHN ");
    ui::SelectComboFromSetting("MirControl\\KsnSum\\RsltSlctCntry", combo);
    EXPECT_EQ(combo.currentIndex(), 0) << "the first entry comes back too";
    ui::SelectComboByText("BRA", combo);
    EXPECT_EQ(combo.currentIndex(), 0);

    combo.addItems({"4", "5"});
    const std::pair<const char*, int> indexes[] = {{"", 2}, {"abc", 2}, {"4", 4}, {"9", 2}, {"-1", 2}};
    for (const auto& [value, index] : indexes) {
        common::WriteSetting("MirControl\\Kesen\\EnvSumRng", value);
        ui::SetListIndexFromSetting("MirControl\\Kesen\\EnvSumRng", combo);
        EXPECT_EQ(combo.currentIndex(), index) << value;
    }
}

TEST(SharedScreens, KorvaneEnvironmentAndOtherFunctions) {
    testsupport::ProgramFolder folder(true);
    testsupport::FakeUi fake;
    common::WriteAllDefaults();
    common::WriteSetting("MirControl\\Common\\MultiTaskKsn", "");
    ui::EnvironmentScreen environment(true);
    environment.ShowMultiTaskSettings();
    auto* multiCount = environment.findChild<QLineEdit*>("MultiCount");
    auto* listMax = environment.findChild<QLineEdit*>("TextListViewMax");
    EXPECT_EQ(multiCount->text(), "1");
    EXPECT_EQ(listMax->text(), "1000");
    EXPECT_TRUE(listMax->isEnabled());

    multiCount->setText("4");
    listMax->setText("99");
    EXPECT_FALSE(environment.CheckOnLeave());
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\MultiTaskKsn"), "4");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\MultiTask"), "2") << "the collection program's stays";
    EXPECT_EQ(listMax->text(), "100");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ListMax"), "100");
    ASSERT_EQ(fake.presenter->boxes.size(), 1u);
    EXPECT_EQ(fake.presenter->boxes[0].text, "１００以上の数値を入力してください。　");
    listMax->setText("250");
    EXPECT_TRUE(environment.CheckOnLeave());
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ListMax"), "250");

    int changes = 0;
    ui::OtherFunctionsScreen other(false, [] { return true; });
    other.Restore([&changes] { ++changes; });
    EXPECT_FALSE(other.findChild<QWidget*>("Frame1")->isEnabled());
    EXPECT_FALSE(other.findChild<QWidget*>("HelpCommand5")->isVisibleTo(&other));
    EXPECT_TRUE(other.button("Command1")->isEnabled());
    other.findChild<QCheckBox*>("CKBox0105_2")->click();
    EXPECT_EQ(common::ReadSetting("MirControl\\Help\\MngCntry02"), "0");
    EXPECT_EQ(changes, 1);
}

// With a real warning box and the keyboard: the refused entry is replaced by
// the lower bound, and the correction typed after it is what is stored.
TEST(SharedScreens, EnvironmentCorrectionAfterARefusalIsStored) {
    testsupport::ProgramFolder folder(true);
    common::WriteAllDefaults();
    const auto log = folder.root() / "boxes.txt";
    common::InstallUi({std::make_shared<ui::QtMessagePresenter>(log), nullptr, nullptr, nullptr, nullptr});
    ui::EnvironmentScreen environment(true);
    environment.ShowMultiTaskSettings();
    environment.show();
    const struct {
        const char* box;
        const char* refused;
        const char* warning;
        const char* bound;
        const char* corrected;
        const char* setting;
    } cases[] = {
        {"MultiCount", "abc", "１から１０の範囲で入力してください。　", "1", "5", "MirControl\\Common\\MultiTaskKsn"},
        {"TextListViewMax", "99", "１００以上の数値を入力してください。　", "100", "250", "MirControl\\Common\\ListMax"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        std::filesystem::remove(log);
        auto& box = *environment.findChild<QLineEdit*>(c.box);
        ASSERT_TRUE(testsupport::FocusByClick(box));
        ASSERT_TRUE(ui::AnswerNextBox("OK"));
        testsupport::TypeAndTab(environment, QString::fromUtf8(c.refused));
        EXPECT_EQ(testsupport::ReadBytes(log), std::string("48\t") + c.warning + "\n");
        EXPECT_EQ(box.text(), QString::fromUtf8(c.bound));
        EXPECT_EQ(common::ReadSetting(c.setting), c.bound);
        EXPECT_TRUE(testsupport::ServeUntil([&box] { return box.hasFocus(); })) << "the focus is not back in the box";

        testsupport::TypeAndTab(environment, QString::fromUtf8(c.corrected));
        EXPECT_EQ(box.text(), QString::fromUtf8(c.corrected));
        EXPECT_EQ(common::ReadSetting(c.setting), c.corrected);
    }
    common::InstallUi({});
}

TEST(SharedScreens, ScriptClicksTypesAnswersAndPictures) {
    testsupport::ProgramFolder folder;
    QWidget form;
    form.setObjectName("frmTest");
    auto* button = new QPushButton("押す", &form);
    button->setObjectName("Command1");
    auto* box = new QLineEdit(&form);
    box->setObjectName("Text1");
    // A button that shows only once Command1 was pressed, as a run's dialog
    // does, and one shown from the start; each asks in a real box.
    auto* later = new QPushButton("中断", &form);
    later->setObjectName("Command2");
    later->hide();
    auto* asking = new QPushButton("問う", &form);
    asking->setObjectName("Command3");
    auto* layout = new QVBoxLayout(&form);
    for (QWidget* widget : std::initializer_list<QWidget*>{button, box, later, asking}) layout->addWidget(widget);
    form.show();
    int clicks = 0;
    QString finished;
    std::vector<int> answers;
    ui::QtMessagePresenter presenter;
    QObject::connect(button, &QPushButton::clicked, [&clicks, later] {
        ++clicks;
        later->show();
    });
    QObject::connect(box, &QLineEdit::editingFinished, [&finished, box] { finished = box->text(); });
    for (QPushButton* asker : {later, asking}) {
        QObject::connect(asker, &QPushButton::clicked, [&answers, &presenter] {
            answers.push_back(presenter.Show("宜しいですか？", 1, "Mirelda"));
        });
    }

    const auto png = folder.root() / "form.png";
    const auto hiddenPng = folder.root() / "hidden.png";
    const auto script = folder.root() / "script.txt";
    testsupport::WriteBytes(script, "answer Cancel frmTest/Command2\nanswer OK\nanswer Maybe\n"
                                    "click frmTest/Command1\r\n\ntext frmTest/Text1 2004/01/05 夜\nclick frmTest/Nothing\n"
                                    "click frmTest/Command3\n"
                                    "screenshot frmTest " + png.string() + "\n"
                                    "screenshot frmHidden " + hiddenPng.string() + "\n");
    QWidget hidden;
    hidden.setObjectName("frmHidden");
    QEventLoop loop;
    bool ended = false;
    ui::RunUiScript(script.string(), [&] {
        ended = true;
        loop.quit();
    });
    EXPECT_EQ(clicks, 0) << "the lines run from the event loop";
    if (!ended) loop.exec();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(answers, (std::vector<int>{2, 1})) << "Cancel to the box of the late button, then OK";
    EXPECT_EQ(finished, "2004/01/05 夜");
    EXPECT_TRUE(std::filesystem::exists(png));
    EXPECT_FALSE(std::filesystem::exists(hiddenPng)) << "a form not on the screen has no picture";
}

}  // namespace
