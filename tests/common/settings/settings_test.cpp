#include "common/settings/settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "common/run_state.h"
#include "platform/cp932.h"
#include "platform/trapped_error.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"
#include "tests/support/trapped.h"

namespace common {
namespace {

constexpr const char* kAppError = "アプリケーションエラーを検出しました。　";

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() : saved_(State()) {}
    ~SettingsTest() override {
        State().errorLogPath = saved_.errorLogPath;
        State().procedureId = saved_.procedureId;
    }

    testsupport::TempDir dir_;
    testsupport::ScopedEnv config_{"XDG_CONFIG_HOME", dir_.path().string()};
    RunState saved_;
};

TEST_F(SettingsTest, PathShortOfThreePartsIsLoggedShownAndEndsTheProgram) {
    const std::string paths[] = {"MirControl\\Common", "MirControl", ""};
    for (const std::string& path : paths) {
        testsupport::FakeUi ui;
        const std::filesystem::path log = dir_.path() / "error.log";
        std::filesystem::remove(log);
        State().errorLogPath = log.string();
        State().procedureId = "AKAGI00M";

        EXPECT_THROW(ReadSetting(path), testsupport::ProgramEnded) << path;

        const std::string text = platform::FromCp932(testsupport::ReadBytes(log)).text;
        const std::string first = ",AKAGI00M,E0:ErrApl ,00," + std::string(kAppError) + "\r\n";
        const std::string second = ",AKAGI00M,E0:ErrApl ,00," + path + "\r\n";
        const std::size_t firstAt = text.find(first);
        ASSERT_NE(firstAt, std::string::npos) << text;
        EXPECT_NE(text.find(second, firstAt + first.size()), std::string::npos) << text;
        ASSERT_EQ(ui.presenter->boxes.size(), 1u);
        EXPECT_EQ(ui.presenter->boxes[0].text.rfind(kAppError, 0), 0u) << ui.presenter->boxes[0].text;
        EXPECT_EQ(ui.presenter->boxes[0].style, 16);
    }
}

TEST_F(SettingsTest, WriteToAShortPathEndsTheProgramToo) {
    testsupport::FakeUi ui;
    EXPECT_THROW(WriteSetting("MirControl\\Common", "1"), testsupport::ProgramEnded);
    EXPECT_EQ(ui.presenter->boxes.size(), 1u);
}

TEST_F(SettingsTest, SplitTakesTheFirstThreeParts) {
    const struct {
        const char* path;
        const char* section;
        const char* key;
    } cases[] = {
        {"MirControl\\Common\\Exec", "Common", "Exec"},
        {"MirControl\\Common\\Exec\\Extra", "Common", "Exec"},
        {"MirControl\\Common\\", "Common", ""},
    };
    for (const auto& c : cases) {
        const SettingPath at = SplitSettingPath(c.path);
        EXPECT_EQ(at.application, "MirControl") << c.path;
        EXPECT_EQ(at.section, c.section) << c.path;
        EXPECT_EQ(at.key, c.key) << c.path;
    }
}

TEST_F(SettingsTest, FourPartPathUsesTheKeyOfTheThirdPart) {
    WriteSetting("MirControl\\Common\\Exec\\Ignored", " 1 ");
    EXPECT_EQ(ReadSetting("MirControl\\Common\\Exec"), " 1 ");
    EXPECT_EQ(ReadSetting("MirControl\\Common\\Exec\\Other"), " 1 ");
    EXPECT_EQ(ReadSetting("MirControl\\Common\\Cancel"), "");
}

TEST_F(SettingsTest, ReadSettingLongTrimsRoundsAndFallsBack) {
    const struct {
        const char* stored;
        std::int32_t asLong;
        std::int32_t defaultOne;
    } cases[] = {
        {"", 0, 1},
        {"abc", 0, 1},
        {" 12 ", 12, 12},
        {"\t8\r\n", 8, 8},
        {"0", 0, 0},
        {"-7", -7, -7},
        {"1,234", 1234, 1234},
        {"2.5", 2, 2},
        {"3.5", 4, 4},
        {"2.50001", 3, 3},  // rounded once, from the full value
        {"-2147483648", INT32_MIN, INT32_MIN},
    };
    for (const auto& c : cases) {
        WriteSetting("MirControl\\Common\\Number", c.stored);
        EXPECT_EQ(ReadSettingLong("MirControl\\Common\\Number"), c.asLong) << '"' << c.stored << '"';
        EXPECT_EQ(ReadSettingLongDefaultOne("MirControl\\Common\\Number"), c.defaultOne) << '"' << c.stored << '"';
    }
    EXPECT_EQ(ReadSettingLongDefaultOne("MirControl\\Common\\Absent"), 1);
}

TEST_F(SettingsTest, ReadSettingLongRaisesOverflowBeyond32Bits) {
    for (const char* stored : {"2147483648", "2147483647.5", "99999999999999999999999"}) {
        WriteSetting("MirControl\\Common\\Number", stored);
        EXPECT_EQ(testsupport::ErrorNumberOf([] { ReadSettingLong("MirControl\\Common\\Number"); }),
                  platform::error_number::kOverflow)
            << stored;
        EXPECT_EQ(testsupport::ErrorNumberOf([] { ReadSettingLongDefaultOne("MirControl\\Common\\Number"); }),
                  platform::error_number::kOverflow)
            << stored;
    }
}

TEST_F(SettingsTest, IndexedKeysCarryATwoDigitIndex) {
    WriteIndexedSetting("MirControl\\Task\\Key", 1, "first");
    WriteIndexedSetting("MirControl\\Task\\Key", 12, "twelfth");
    EXPECT_EQ(ReadSetting("MirControl\\Task\\Key01"), "first");
    EXPECT_EQ(ReadSetting("MirControl\\Task\\Key12"), "twelfth");
    EXPECT_EQ(ReadSetting("MirControl\\Task\\Key1"), "");
}

TEST_F(SettingsTest, IndexedFlagIsOneOnlyForOne) {
    const struct {
        std::int32_t flag;
        const char* stored;
    } cases[] = {{1, "1"}, {0, "0"}, {2, "0"}, {-1, "0"}};
    for (const auto& c : cases) {
        WriteIndexedFlagSetting("MirControl\\Task\\Flag", 3, c.flag);
        EXPECT_EQ(ReadSetting("MirControl\\Task\\Flag03"), c.stored) << c.flag;
    }
}

TEST(ParseCurrencyOrZero, TrimmedNumberOrZero) {
    const struct {
        const char* text;
        std::int64_t raw;
    } cases[] = {
        {" 12.3456 ", 123456}, {"\t1,234.5\r\n", 12345000}, {"-0.25", -2500}, {"", 0}, {"abc", 0}, {"1.2.3", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseCurrencyOrZero(c.text), platform::Currency::FromRaw(c.raw)) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace common
