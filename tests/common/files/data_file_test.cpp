#include "common/files/data_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/files/text_file_write.h"
#include "common/run_state.h"
#include "tests/common/files/file_routine_fixture.h"
#include "tests/support/file_bytes.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

// The data tree of a run environment under the temporary folder; task files
// (number 102, "/TSD", ".dat") go to Temp.
class DataFile : public testsupport::FileRoutineTest {
protected:
    DataFile() {
        env_.Path = Path("Prog");
        env_.DataPath = Path("HpData");
        env_.MainPath = env_.Path;
        env_.TaskPath = env_.Path;
        env_.folder(common::Folder::Temp) = temp_;
        fs::create_directories(temp_);
    }

    void Put(const std::vector<std::string>& names) const {
        for (const std::string& name : names) WriteBytes(temp_ + "/" + name, "x\r\n");
    }

    std::vector<std::string> Left() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(temp_)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    const std::string temp_ = Path("Prog/Temp");
    common::EnvRec env_;
};

TEST_F(DataFile, PathsTakeTheDefaultExtensionWhenBlank) {
    EXPECT_EQ(common::BuildDataFilePath(102, 12, 3, "", "  ", env_), temp_ + "/TSD012003.dat");
    EXPECT_EQ(common::BuildDataFilePath(102, 12, 3, "x", " .txt ", env_), temp_ + "/TSD012003x.txt");

    std::string path = "stale";
    EXPECT_FALSE(common::FindDataFile(102, 12, 3, "", "", env_, path));
    EXPECT_EQ(path, "");
    EXPECT_EQ(common::State().missingFilePath, temp_ + "/TSD012003.dat");
    Put({"TSD012003.dat"});
    EXPECT_TRUE(common::FindDataFile(102, 12, 3, "", "", env_, path));
    EXPECT_EQ(path, temp_ + "/TSD012003.dat");

    common::DeleteDataFile(102, 12, 3, "", "", env_);
    common::DeleteDataFile(102, 12, 4, "", "", env_);
    EXPECT_TRUE(Left().empty());
}

TEST_F(DataFile, CFFIL75MDeletesTheFilesOfAProcess) {
    Put({"TSD012001.dat", "TSD012002.dat", "TSD013001.dat", "TSD.dat", "TSC012.dat"});
    common::State().logSwitch[10] = true;
    common::CFFIL75M(102, 12, env_);
    EXPECT_EQ(Left(), (Lines{"TSC012.dat", "TSD.dat", "TSD013001.dat"}));
    EXPECT_EQ(RunLog(), (Lines{
                            "CFFIL75M,80:Debug  ,01,FullPath=" + temp_,
                            "CFFIL75M,80:Debug  ,02,wFNameW =" + temp_ + "/TSD012*",
                            "CFFIL75M,80:Debug  ,03,CFFIL75MFullPath=" + temp_,
                            "CFFIL75M,80:Debug  ,04,CFFIL75MOtFile  =TSD012001.dat",
                            "CFFIL75M,80:Debug  ,05,CFFIL75MOtFile  =" + temp_ + "/TSD012001.dat",
                            "CFFIL75M,80:Debug  ,05,CFFIL75MOtFile  =" + temp_ + "/TSD012002.dat",
                        }));

    common::State().logSwitch[10] = false;
    common::CFFIL75M(102, 0, env_);
    EXPECT_EQ(Left(), Lines{"TSC012.dat"});
    EXPECT_EQ(RunLog().size(), 6u);
}

TEST_F(DataFile, CFFIL76MDeletesTheFilesOfOneSequenceQuietly) {
    Put({"TSD012001.dat", "TSD012001x.txt", "TSD012002.dat"});
    common::State().logSwitch[10] = true;
    common::CFFIL76M(102, 12, 1, env_);
    EXPECT_EQ(Left(), Lines{"TSD012002.dat"});
    EXPECT_TRUE(RunLog().empty());
}

// Halves of the hundredth round to even: 250 lines refresh every 2, 350 every 4.
TEST_F(DataFile, CFTMP10MReadsAsOneStage) {
    const struct {
        long expected;
        std::size_t lines;
        long refreshes;
    } cases[] = {{250, 250, 125}, {350, 350, 88}, {10, 5, 5}, {0, 3, 3}};
    for (const auto& c : cases) {
        common::CFFIL30M(Lines(c.lines, "line"), temp_ + "/TSD001001.dat");
        common::MSGRec msg;
        Lines lines;
        const long before = ui_.pump->count;
        EXPECT_TRUE(common::CFTMP10M(msg, 102, 1, 1, "", "", c.expected, env_, lines));
        EXPECT_EQ(lines.size(), c.lines);
        // The stage opened, the read started, its refreshes, the stage closed.
        EXPECT_EQ(ui_.pump->count - before, 3 + c.refreshes) << c.expected;
        EXPECT_EQ(msg.lngNumerator, static_cast<long>(c.lines));
        EXPECT_EQ(msg.lngDenominator, c.expected);
        EXPECT_EQ(msg.StageCount, 1);
        EXPECT_EQ(msg.StagesDone, 1);
    }
}

TEST_F(DataFile, CFTMP10MIsFalseWithoutLines) {
    common::MSGRec msg;
    Lines lines{"stale"};
    EXPECT_FALSE(common::CFTMP10M(msg, 102, 1, 1, "", "", 10, env_, lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(ui_.pump->count, 0);

    WriteBytes(temp_ + "/TSD001001.dat", "");
    EXPECT_FALSE(common::CFTMP10M(msg, 102, 1, 1, "", "", 10, env_, lines));
    EXPECT_EQ(msg.StagesDone, 1);
}

TEST_F(DataFile, CFTMP30MWritesAsOneStageOfSeveral) {
    common::MSGRec msg;
    msg.StageCount = 3;
    msg.StagesDone = 1;
    EXPECT_TRUE(common::CFTMP30M(msg, 102, 1, 1, "", "", env_, Lines{"a", "b", "c"}));
    EXPECT_EQ(ReadBytes(temp_ + "/TSD001001.dat"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(ui_.pump->count, 1 + 1 + 3 + 1);
    EXPECT_EQ(msg.lngNumerator, 3);
    EXPECT_EQ(msg.lngDenominator, 3);
    EXPECT_EQ(msg.StageCount, 3);
    EXPECT_EQ(msg.StagesDone, 2);

    // No line writes nothing: the file stays as it was.
    EXPECT_FALSE(common::CFTMP30M(msg, 102, 1, 1, "", "", env_, Lines{}));
    EXPECT_EQ(ReadBytes(temp_ + "/TSD001001.dat"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(msg.lngNumerator, 0);
    EXPECT_EQ(msg.StagesDone, 3);
}

}  // namespace
