// The screens and routines both programs carry: the settings-to-controls
// generics, the environment and other-functions screens as the analysis
// program configures them, and the screen-action script.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/default_settings.h"
#include "common/settings.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"
#include "ui/environment_screen.h"
#include "ui/form_controls.h"
#include "ui/other_functions_screen.h"
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

TEST(SharedScreens, ScriptClicksTypesAndPictures) {
    testsupport::ProgramFolder folder;
    QWidget form;
    form.setObjectName("frmTest");
    auto* button = new QPushButton("押す", &form);
    button->setObjectName("Command1");
    auto* box = new QLineEdit(&form);
    box->setObjectName("Text1");
    auto* layout = new QVBoxLayout(&form);
    layout->addWidget(button);
    layout->addWidget(box);
    form.show();
    int clicks = 0;
    QString finished;
    QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
    QObject::connect(box, &QLineEdit::editingFinished, [&finished, box] { finished = box->text(); });

    const auto png = folder.root() / "form.png";
    const auto script = folder.root() / "script.txt";
    testsupport::WriteBytes(script, "click frmTest/Command1\r\n\ntext frmTest/Text1 2004/01/05 夜\nclick frmTest/Nothing\n"
                                    "screenshot frmTest " + png.string() + "\n");
    ui::RunUiScript(script.string());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(finished, "2004/01/05 夜");
    EXPECT_TRUE(std::filesystem::exists(png));
}

}  // namespace
