#include "common/settings/settings_group.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/run_state.h"
#include "common/settings/default_settings.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "platform/cp932.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

namespace fs = std::filesystem;

struct GroupCase {
    int group;
    std::string section;
    std::string keys;  // blank-separated, in file order
};

const GroupCase kGroups[] = {
    {1, "Kesen",
     "EnvBscLR EnvLR EnvLRS EnvKhn EnvHsk EnvTdai EnvRoeN EnvRoeD EnvIkoN EnvIkoD EnvIkoRng EnvHnnN EnvHnnD "
     "EnvAnaMin EnvAnaMax EnvAnadpt EnvRoaIgA EnvRoaIgB EnvRoaIgC EnvChange EnvRoaIg1 EnvRoaIg2 EnvRoaIg3 EnvRange "
     "EnvKagi01 EnvKagi02 EnvKagi03 EnvKagi04 EnvSumRng"},
    {2, "KsnSum",
     "RsltSlctCntry RsltSlctSumry RsltSlctRule RsltSaveCntry RsltSaveSumry RsltSaveRule RsltSrtAD1 RsltSrtAD2"},
    {3, "KsnMng",
     "MngSel101 MngSel102 MngSel103 MngSel104 MngSel105 MngSel1Lst01 MngSel1Lst02 MngSel1Lst03 MngSel1Lst04 "
     "MngSel1Lst05 MngSel201 MngSel202 MngSel203 MngSel204 MngSel205 MngSel2Fm01 MngSel2Fm02 MngSel2Fm03 "
     "MngSel2Fm04 MngSel2Fm05 MngSel2To01 MngSel2To02 MngSel2To03 MngSel2To04 MngSel2To05 MngSrtAD"},
    {4, "HpGet",
     "HpDupSts HpSplit BscExcg BscList01 BscList02 BscList03 BscCorp01 BscCorp02 BscCorp03 BscMark01 BscMark02 "
     "BscMark03 BscOthe BscHpri01 BscHpri02 BscHpri03 HpRepToHp HpSelect HpCntry01 HpCntry02 HpCntry03 HpCandle "
     "HpPr HpPrFrom HpPrTo HpBackUp SitePortal SiteChinaStock SiteUsQuote SiteUsPortal SiteJpPrices SiteRates "
     "SiteReport ListBrand"},
    {5, "KsnGrh", "GrahWide GrahLog GrahConv Grahmidl GrahLwhi GrahSplt GrahSize GrahRange GrahPeriod"},
    {6, "Common", "MultiTask ListMax"},
    {7, "Help", "MngCntry01 MngCntry02 MngCntry03 MngCntry04"},
};

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

std::string Cp932(const std::string& text) { return platform::ToCp932(text).bytes; }

std::string LinesAsFile(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return Cp932(text);
}

class SettingsGroup : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        common::WriteKesenDefaults();
        common::WriteAllDefaults();
    }

    fs::path GroupFile(int group) const {
        return folder_.data() / "DispData" / ("DspSaveNo0" + std::to_string(group) + ".dat");
    }
    std::vector<std::string> FileLines(int group) const {
        return Lines(platform::FromCp932(testsupport::ReadBytes(GroupFile(group))).text);
    }
    std::string ErrorLog() const {
        const fs::path log = common::State().errorLogPath;
        return fs::exists(log) ? platform::FromCp932(testsupport::ReadBytes(log)).text : "";
    }

    testsupport::FakeUi ui_;
    testsupport::ProgramFolder folder_;
    common::EnvRec env_;
};

TEST_F(SettingsGroup, EveryGroupRoundTripsInFileOrder) {
    for (const GroupCase& c : kGroups) {
        const std::vector<std::string> keys = Words(c.keys);
        std::vector<std::string> expected;
        for (std::size_t n = 0; n < keys.size(); ++n) {
            const std::string value = "値" + std::to_string(n);
            common::WriteSetting("MirControl\\" + c.section + "\\" + keys[n], value);
            expected.push_back("MirControl_" + c.section + "_" + keys[n] + "=" + value);
        }
        common::ExportSettingsGroup(c.group, env_);
        EXPECT_EQ(FileLines(c.group), expected) << c.group;

        for (const std::string& key : keys) common::WriteSetting("MirControl\\" + c.section + "\\" + key, "changed");
        EXPECT_TRUE(common::ImportSettingsGroup(c.group, env_)) << c.group;
        for (std::size_t n = 0; n < keys.size(); ++n) {
            EXPECT_EQ(common::ReadSetting("MirControl\\" + c.section + "\\" + keys[n]), "値" + std::to_string(n))
                << c.group << " " << keys[n];
        }
    }
    EXPECT_EQ(ErrorLog(), "");
    EXPECT_TRUE(ui_.presenter->boxes.empty());
}

TEST_F(SettingsGroup, ExportTrimsValuesAndWritesCp932Lines) {
    common::WriteSetting("MirControl\\Common\\MultiTask", "  3 ");
    common::WriteSetting("MirControl\\Common\\ListMax", " 500  ");
    common::ExportSettingsGroup(6, env_);
    EXPECT_EQ(testsupport::ReadBytes(GroupFile(6)),
              "MirControl_Common_MultiTask=3\r\nMirControl_Common_ListMax=500\r\n");

    common::WriteSetting("MirControl\\Help\\MngCntry02", "日本");
    common::WriteSetting("MirControl\\Help\\MngCntry03", "");
    common::ExportSettingsGroup(7, env_);
    EXPECT_EQ(testsupport::ReadBytes(GroupFile(7)),
              "MirControl_Help_MngCntry01=1\r\n"
              "MirControl_Help_MngCntry02=\x93\xfa\x96\x7b\r\n"
              "MirControl_Help_MngCntry03=\r\n"
              "MirControl_Help_MngCntry04=1\r\n");

    // Written whole in place of the old file, with no work file left behind.
    common::ExportSettingsGroup(6, env_);
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_.data() / "DispData")) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"DspSaveNo06.dat", "DspSaveNo07.dat"}));
}

TEST_F(SettingsGroup, ImportWritesOnlyTheGroupsOwnKeys) {
    const std::vector<std::string> skipped = {
        "MirControl_HpGet_HpPr",          // no "="
        "MirControl_HpGet=1",             // two path parts
        "MirControl=1",                   // one path part
        "MirControl_HpGet_Nothing=1",     // not a key of the group
        "MirControl_Kesen_EnvLR=9",       // another group's key
        "MirControl_Common_Exec=1",       // run state
        "MirControl_HpGet_HpPr_Extra=1",  // more than three parts
    };
    std::vector<std::string> lines = {
        "MirControl_HpGet_HpPrFrom=a=b", "", "   ", "MirControl_HpGet_HpPrTo=日本", "MirControl_HpGet_HpSplit=",
        "MirControl_HpGet_HpCntry02=0",
        "mircontrol_hpget_HPBACKUP=3",  // the store ignores letter case in keys
    };
    lines.insert(lines.begin() + 2, skipped.begin(), skipped.end());
    testsupport::WriteBytes(GroupFile(4), LinesAsFile(lines));
    common::WriteSetting("MirControl\\HpGet\\HpSplit", "x");
    common::WriteSetting("MirControl\\HpGet\\HpBackUp", "7");

    EXPECT_TRUE(common::ImportSettingsGroup(4, env_));

    const std::pair<const char*, const char*> expected[] = {
        {"HpGet\\HpPrFrom", "a=b"}, {"HpGet\\HpPrTo", "日本"}, {"HpGet\\HpSplit", ""}, {"HpGet\\HpCntry02", "0"},
        {"HpGet\\HpCntry01", "1"},  {"HpGet\\HpBackUp", "3"},  {"HpGet\\HpPr", "1"},   {"HpGet\\Nothing", ""},
        {"Kesen\\EnvLR", "1"},      {"Common\\Exec", ""},
    };
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(common::ReadSetting(std::string("MirControl\\") + key), value) << key;
    }
    EXPECT_TRUE(ui_.presenter->boxes.empty());

    const std::vector<std::string> log = Lines(ErrorLog());
    ASSERT_EQ(log.size(), skipped.size());
    for (std::size_t n = 0; n < log.size(); ++n) {
        EXPECT_NE(log[n].find("90:Worning"), std::string::npos) << log[n];
        EXPECT_TRUE(log[n].ends_with("：" + skipped[n])) << log[n];
    }
}

TEST_F(SettingsGroup, ImportTakesAFileAnEditorSavedInUtf8) {
    testsupport::WriteBytes(GroupFile(4),
                            "MirControl_HpGet_SitePortal=portal.example\n"
                            "MirControl_HpGet_ListBrand=株価ナビ・テストポータル\n");
    EXPECT_TRUE(common::ImportSettingsGroup(4, env_));
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\SitePortal"), "portal.example");
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\ListBrand"), "株価ナビ・テストポータル");
    EXPECT_EQ(ErrorLog(), "");
    EXPECT_TRUE(ui_.presenter->boxes.empty());
}

TEST_F(SettingsGroup, MissingFileAndUnknownGroup) {
    common::WriteSetting("MirControl\\HpGet\\HpBackUp", "7");
    EXPECT_FALSE(common::ImportSettingsGroup(4, env_));
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\HpBackUp"), "7");
    EXPECT_FALSE(fs::exists(GroupFile(4)));

    EXPECT_THROW(common::ExportSettingsGroup(8, env_), testsupport::ProgramEnded);
    EXPECT_NE(ErrorLog().find("E0:ErrApl"), std::string::npos);
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_FALSE(fs::exists(GroupFile(8)));
}

TEST(SettingsGroupPrograms, KorvaneKeepsItsOwnTaskCount) {
    testsupport::ProgramFolder folder(true);
    common::EnvRec env;
    common::CCENV00M(env);
    common::WriteSetting("MirControl\\Common\\MultiTask", "5");
    common::WriteSetting("MirControl\\Common\\MultiTaskKsn", "4");
    common::WriteSetting("MirControl\\Common\\ListMax", "300");
    common::ExportSettingsGroup(6, env);
    EXPECT_EQ(testsupport::ReadBytes(folder.data() / "DispData" / "DspSaveNo06.dat"),
              "MirControl_Common_MultiTaskKsn=4\r\nMirControl_Common_ListMax=300\r\n");
}

TEST(SettingsGroupPrograms, EitherProgramsTaskCountFileIsImportedWithoutComplaint) {
    testsupport::ProgramFolder folder(true);
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);
    testsupport::WriteBytes(folder.data() / "DispData" / "DspSaveNo06.dat",
                            "MirControl_Common_MultiTask=6\r\nMirControl_Common_ListMax=300\r\n");
    ASSERT_TRUE(common::ImportSettingsGroup(6, env));
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\MultiTask"), "6");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ListMax"), "300");
    EXPECT_FALSE(fs::exists(common::State().errorLogPath));
}

TEST(SettingsGroupPrograms, CollectorSettingsExportGroupsFourAndSix) {
    testsupport::ProgramFolder folder;
    common::WriteKesenDefaults();
    common::WriteAllDefaults();
    common::ExportCollectorSettings();
    const fs::path dispData = folder.data() / "DispData";
    EXPECT_EQ(testsupport::ReadBytes(dispData / "DspSaveNo06.dat"),
              "MirControl_Common_MultiTask=2\r\nMirControl_Common_ListMax=1000\r\n");
    EXPECT_TRUE(fs::exists(dispData / "DspSaveNo04.dat"));
    EXPECT_FALSE(fs::exists(dispData / "DspSaveNo01.dat"));
}

}  // namespace
