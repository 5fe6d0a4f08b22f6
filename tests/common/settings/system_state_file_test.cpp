#include "common/settings/system_state_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/files/data_file.h"
#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "platform/cp932.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using common::SystemStateRec;

constexpr std::size_t kDefaultSize = 783;  // every variable text at its default

class SystemStateFile : public ::testing::Test {
protected:
    SystemStateFile() {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        path_ = common::BuildDataFilePath(common::kSystemStateFileNumber, 0, 0, "", "", env_);
    }

    std::string Bytes() { return testsupport::ReadBytes(path_); }
    std::string ErrorLog() {
        const std::string& log = common::State().errorLogPath;
        return std::filesystem::exists(log) ? platform::FromCp932(testsupport::ReadBytes(log)).text : "";
    }

    // A run's settings as the collection screen leaves them.
    static SystemStateRec WeeklyPeriodRun() {
        SystemStateRec rec;
        rec.Checks.cell(1, 5) = 1;
        rec.Checks.cell(5, 6) = 1;
        rec.Method = "2";
        rec.ReservedCodes[10] = "JPN";
        rec.OptionIndexes = {0, 2, 2, 3};
        rec.Candle = "W";
        rec.PeriodMode = "3";
        rec.FromDate = "2004/01/05";
        rec.ToDate = "2005/03/09";
        rec.BackupFlag = "1";
        rec.MultiCountText = "３";
        rec.DateFromInput = "2004/1/5";
        rec.CountryChecks[1] = 1;
        rec.ReservedFlags[1] = false;
        rec.ReservedLongs3[50] = -7;
        rec.PriceCountryFlags[3] = 1;
        rec.BackupCheck = 1;
        rec.ReservedText4 = "";
        return rec;
    }

    static void ExpectSame(const SystemStateRec& a, const SystemStateRec& b) {
        EXPECT_EQ(a.Checks.cells, b.Checks.cells);
        EXPECT_EQ(a.Method, b.Method);
        EXPECT_EQ(a.ReservedCodes, b.ReservedCodes);
        EXPECT_EQ(a.OptionIndexes, b.OptionIndexes);
        EXPECT_EQ(a.ReservedText1, b.ReservedText1);
        EXPECT_EQ(a.Candle + a.PeriodMode + a.BackupFlag, b.Candle + b.PeriodMode + b.BackupFlag);
        EXPECT_EQ(a.FromDate + "|" + a.ToDate, b.FromDate + "|" + b.ToDate);
        EXPECT_EQ(a.MultiCountText, b.MultiCountText);
        EXPECT_EQ(a.ReservedText2, b.ReservedText2);
        EXPECT_EQ(a.DateFromInput + "|" + a.DateToInput, b.DateFromInput + "|" + b.DateToInput);
        EXPECT_EQ(a.CountryChecks, b.CountryChecks);
        EXPECT_EQ(a.ReservedFlags, b.ReservedFlags);
        EXPECT_EQ(a.ReservedLong1, b.ReservedLong1);
        EXPECT_EQ(a.ReservedBlock, b.ReservedBlock);
        EXPECT_EQ(a.ReservedText3, b.ReservedText3);
        EXPECT_EQ(a.ReservedLongs1, b.ReservedLongs1);
        EXPECT_EQ(a.ReservedLongs2, b.ReservedLongs2);
        EXPECT_EQ(a.PriceCountryFlags, b.PriceCountryFlags);
        EXPECT_EQ(a.ReservedLongs3, b.ReservedLongs3);
        EXPECT_EQ(a.BackupCheck, b.BackupCheck);
        EXPECT_EQ(a.ReservedLong2, b.ReservedLong2);
        EXPECT_EQ(a.ReservedText4, b.ReservedText4);
    }

    testsupport::ProgramFolder folder_;
    common::EnvRec env_;
    std::string path_;
};

TEST_F(SystemStateFile, MissingFileIsCreatedWithTheDefaults) {
    SystemStateRec rec = WeeklyPeriodRun();
    EXPECT_FALSE(common::ReadSystemStateFile(env_, rec));
    ExpectSame(rec, SystemStateRec{});
    EXPECT_EQ(rec.Candle, " ");
    EXPECT_EQ(rec.ReservedFlags, (std::array<bool, 3>{true, true, true}));
    EXPECT_EQ(rec.ReservedText3 + rec.ReservedText4, "41");
    EXPECT_EQ(Bytes().size(), kDefaultSize);

    SystemStateRec again = WeeklyPeriodRun();
    EXPECT_TRUE(common::ReadSystemStateFile(env_, again));
    ExpectSame(again, SystemStateRec{});
}

// What the settings screen writes, a child reads back exactly.
TEST_F(SystemStateFile, RoundTrip) {
    const SystemStateRec written = WeeklyPeriodRun();
    common::WriteSystemStateFile(env_, written);
    SystemStateRec read;
    EXPECT_TRUE(common::ReadSystemStateFile(env_, read));
    ExpectSame(read, written);
}

// The documented layout, which other tools write and later versions read:
// the run's candle and period at 298, the From date's byte count and text
// after them, and the three flags after the texts (one of them false).
TEST_F(SystemStateFile, ByteLayout) {
    common::WriteSystemStateFile(env_, WeeklyPeriodRun());
    const std::string bytes = Bytes();
    EXPECT_EQ(bytes.substr(5 * 6 * 4 + 4, 4), std::string("\x01\x00\x00\x00", 4));  // cell (1, 5)
    EXPECT_EQ(bytes.substr(216, 1), "2");
    EXPECT_EQ(bytes.substr(247, 3), "JPN");
    EXPECT_EQ(bytes.substr(298, 2), "W3");
    EXPECT_EQ(bytes.substr(300, 12), std::string("\x0a\x00", 2) + "2004/01/05");
    EXPECT_EQ(bytes.substr(389, 6), std::string("\xff\xff\x00\x00\xff\xff", 6));
    EXPECT_EQ(bytes.substr(bytes.size() - 2), std::string("\x00\x00", 2));
}

// A file cut anywhere, inside a text or between fields, holds no record:
// defaults, logged, and the file made whole again.
TEST_F(SystemStateFile, TornFileReadsAsTheDefaults) {
    common::WriteSystemStateFile(env_, WeeklyPeriodRun());
    const std::string whole = Bytes();
    for (const std::size_t cut : {std::size_t{0}, std::size_t{301}, std::size_t{500}, whole.size() - 1}) {
        testsupport::WriteBytes(path_, whole.substr(0, cut));
        SystemStateRec rec = WeeklyPeriodRun();
        EXPECT_FALSE(common::ReadSystemStateFile(env_, rec)) << cut;
        ExpectSame(rec, SystemStateRec{});
        EXPECT_EQ(Bytes().size(), kDefaultSize) << cut;
    }
    EXPECT_NE(ErrorLog().find("システム状態ファイルが不完全なため"), std::string::npos);
}

TEST_F(SystemStateFile, BytesAfterTheRecordAreIgnored) {
    common::WriteSystemStateFile(env_, WeeklyPeriodRun());
    testsupport::WriteBytes(path_, Bytes() + "later fields");
    SystemStateRec rec;
    EXPECT_TRUE(common::ReadSystemStateFile(env_, rec));
    ExpectSame(rec, WeeklyPeriodRun());
}

TEST_F(SystemStateFile, RefreshCreatesOrKeepsTheFile) {
    SystemStateRec rec = WeeklyPeriodRun();
    common::RefreshSystemStateFile(rec);
    ExpectSame(rec, SystemStateRec{});
    EXPECT_EQ(Bytes().size(), kDefaultSize);

    common::WriteSystemStateFile(env_, WeeklyPeriodRun());
    const std::string before = Bytes();
    common::RefreshSystemStateFile(rec);
    ExpectSame(rec, WeeklyPeriodRun());
    EXPECT_EQ(Bytes(), before);
}

}  // namespace
