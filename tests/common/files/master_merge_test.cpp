#include "common/files/master_merge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "common/files/file_registry.h"
#include "common/files/key_layout.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "common/tasks/task_files.h"
#include "platform/cp932.h"
#include "platform/utf8_text.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"
#include "tests/support/trapped.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// A line keyed by its first three characters whose 78th character is `at78`.
std::string Rec(const std::string& text, char at78 = ' ') {
    return platform::PadRightChars(text, 77) + at78;
}

common::MergeKeyRec FirstThreeCharacters() {
    common::MergeKeyRec keys;
    keys.KeyCount = 1;
    keys.KeyStart[1] = 1;
    keys.KeyLength[1] = 3;
    return keys;
}

struct MergeCase {
    const char* name;
    const char* matchMode;
    const char* keepMaster;
    Lines master;
    Lines transactions;
    Lines expected;
    bool taken;
};

TEST(MasterMerge, Rules) {
    const MergeCase cases[] = {
        {"transactions replace equal keys", "", "", {Rec("001 m"), Rec("002 m")}, {Rec("001 t"), Rec("002 t")},
         {Rec("001 t"), Rec("002 t")}, true},
        {"KeepMaster keeps equal keys and adds new ones", "", "1", {Rec("001 m"), Rec("003 m")},
         {Rec("001 t"), Rec("002 t"), Rec("004 t")}, {Rec("001 m"), Rec("002 t"), Rec("003 m"), Rec("004 t")},
         true},
        {"KeepMaster with nothing new", "", "1", {Rec("001 m")}, {Rec("001 t")}, {Rec("001 m")}, false},
        // MatchMode "1" lets the master's 78th character decide and ignores KeepMaster.
        {"MatchMode", "1", "1", {Rec("001 m", '1'), Rec("002 m", '0')}, {Rec("001 t"), Rec("002 t")},
         {Rec("001 m", '1'), Rec("002 t")}, true},
        {"two transactions on one master key", "", "", {Rec("005 m")}, {Rec("005 a"), Rec("005 b")},
         {Rec("005 a"), Rec("005 b")}, true},
        {"master shorter than the transactions", "", "", {Rec("002 m")},
         {Rec("001 t"), Rec("003 t"), Rec("004 t")}, {Rec("001 t"), Rec("002 m"), Rec("003 t"), Rec("004 t")},
         true},
        {"only a blank transaction line", "", "", {Rec("001 m")}, {"  "}, {Rec("001 m")}, true},
        {"no master", "", "", {}, {Rec("001 t"), Rec("002 t")}, {Rec("001 t"), Rec("002 t")}, true},
        {"neither side", "", "", {""}, {}, {""}, false},
    };
    for (const MergeCase& c : cases) {
        common::MergeKeyRec keys = FirstThreeCharacters();
        keys.MatchMode = c.matchMode;
        keys.KeepMaster = c.keepMaster;
        Lines master = c.master;
        common::MSGRec msg;
        EXPECT_EQ(common::CUMRG20M(master, c.transactions, msg, keys), c.taken) << c.name;
        EXPECT_EQ(master, c.expected) << c.name;
    }
}

TEST(MasterMerge, KeyLayouts) {
    using Fields = std::vector<std::pair<long, long>>;
    const auto fieldsOf = [](const common::SortKeyRec& keys) {
        Fields fields;
        for (long j = 1; j <= keys.KeyCount; ++j) {
            fields.emplace_back(keys.KeyStart[static_cast<std::size_t>(j)], keys.KeyLength[static_cast<std::size_t>(j)]);
        }
        return fields;
    };
    common::SortKeyRec keys;
    common::SetKeyLayout6(keys);
    EXPECT_EQ(fieldsOf(keys), (Fields{{1, 3}, {10, 4}, {25, 4}, {30, 4}, {35, 4}, {55, 20}}));
    common::SetKeyLayout4(keys);
    EXPECT_EQ(fieldsOf(keys), (Fields{{1, 3}, {10, 4}, {35, 4}, {55, 20}}));
    common::SetKeyLayout3(keys);
    EXPECT_EQ(fieldsOf(keys), (Fields{{1, 3}, {10, 4}, {55, 20}}));

    common::MergeKeyRec merge;
    merge.KeepMaster = "1";
    common::CopyKeyLayout(keys, merge);
    EXPECT_EQ(fieldsOf(merge), fieldsOf(keys));
    EXPECT_EQ(merge.KeepMaster, "1");

    keys.KeyCount = 21;
    EXPECT_EQ(testsupport::ErrorNumberOf([&] { common::CopyKeyLayout(keys, merge); }), 9);
    EXPECT_EQ(merge.KeyCount, 3);
}

// Files in a temporary program folder, with the logs and the fake interface.
class MergeFiles : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        base_ = (folder_.root() / "Cdm").string();
    }

    static void Write(const std::string& path, const Lines& lines) { common::CFFIL30M(lines, path); }
    static Lines Read(const std::string& path) {
        Lines lines;
        common::CFFIL21M(path, lines);
        return lines;
    }
    static bool Exists(const std::string& path) { return fs::exists(path); }
    // Names of the files and folders of the recovery base, sorted.
    Lines BaseFiles() const {
        Lines names;
        for (const auto& entry : fs::directory_iterator(folder_.root())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("Cdm")) names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string ErrorLog() const {
        const std::string& path = common::State().errorLogPath;
        return Exists(path) ? platform::FromCp932(testsupport::ReadBytes(path)).text : "";
    }

    // Master, work file and recovery line of one recovery, and its result:
    // the recovery line shares its key with a work line and follows it.
    void WriteRecoverySources() {
        Write(base_ + ".txt", {Rec("001 m"), Rec("003 m")});
        Write(base_ + ".tmp", {Rec("004 t"), Rec("001 t")});
        Write(base_ + ".rcv", {Rec("004 r")});
    }
    const Lines merged_ = {Rec("001 t"), Rec("003 m"), Rec("004 t"), Rec("004 r")};

    void Recover(const common::MergeKeyRec& keys, Lines& result) {
        common::MSGRec msg;
        common::CFRCV21M(base_, ".tmp", ".txt", msg, keys, counter_, result);
    }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    std::string base_;
    common::MergeCounterRec counter_;
};

TEST_F(MergeFiles, RecoveryMergesWorkFileAndRecoveryLine) {
    WriteRecoverySources();
    Lines result;
    Recover(FirstThreeCharacters(), result);
    EXPECT_EQ(Read(base_ + ".txt"), merged_);
    EXPECT_EQ(result, merged_);
    EXPECT_EQ(counter_.ResultCount, 4);
    EXPECT_EQ(BaseFiles(), (Lines{"Cdm.txt"}));
}

TEST_F(MergeFiles, ReplaceMode9LeavesTheMaster) {
    WriteRecoverySources();
    common::MergeKeyRec keys = FirstThreeCharacters();
    keys.ReplaceMode = "9";
    Lines result;
    Recover(keys, result);
    EXPECT_EQ(Read(base_ + ".txt"), (Lines{Rec("001 m"), Rec("003 m")}));
    EXPECT_EQ(Read(base_ + ".tmp"), merged_);
    EXPECT_EQ(BaseFiles(), (Lines{"Cdm.tmp", "Cdm.txt"}));
}

TEST_F(MergeFiles, RecoveryWithTwoRecoveryLinesChangesNothing) {
    WriteRecoverySources();
    Write(base_ + ".rcv", {Rec("004 r"), Rec("005 r")});
    const std::string masterBytes = testsupport::ReadBytes(base_ + ".txt");
    Lines result;
    Recover(FirstThreeCharacters(), result);

    const std::string message = "リカバリ処理が不完全です（リカバリデータ件数不正）　件数=2";
    EXPECT_NE(ErrorLog().find(",CFRCV21M,E0:ErrApl ,00," + message + "\r\n"), std::string::npos) << ErrorLog();
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text.rfind(message, 0), 0u);
    EXPECT_EQ(ui_.presenter->boxes[0].style, 16);
    EXPECT_EQ(testsupport::ReadBytes(base_ + ".txt"), masterBytes);
    EXPECT_EQ(Read(base_ + ".tmp"), (Lines{Rec("004 t"), Rec("001 t")}));
    EXPECT_EQ(Read(base_ + ".rcv").size(), 2u);
    EXPECT_TRUE(result.empty());
}

TEST_F(MergeFiles, RecoveryWithoutMasterOrWithoutData) {
    // No master: the sorted recovery data become the master.
    Write(base_ + ".tmp", {Rec("004 t"), Rec("001 t")});
    Write(base_ + ".rcv", {Rec("002 r")});
    Lines result;
    Recover(FirstThreeCharacters(), result);
    const Lines sorted = {Rec("001 t"), Rec("002 r"), Rec("004 t")};
    EXPECT_EQ(Read(base_ + ".txt"), sorted);
    EXPECT_EQ(result, sorted);
    EXPECT_FALSE(Exists(base_ + ".tmp"));
    EXPECT_FALSE(Exists(base_ + ".rcv"));

    // No data: the master stays, an empty leftover ".rcv" goes.
    testsupport::WriteBytes(base_ + ".rcv", "");
    Recover(FirstThreeCharacters(), result);
    EXPECT_EQ(Read(base_ + ".txt"), sorted);
    EXPECT_TRUE(result.empty());
    EXPECT_FALSE(Exists(base_ + ".rcv"));
}

// A crash after the result was written but before the sources were removed
// and the result replaced the master: a source that cannot be deleted (a
// folder stands where it would be renamed to) stops the run there. The rerun
// must give the master of an uninterrupted run, the recovery line once.
TEST_F(MergeFiles, RecoveryRerunAfterCrash) {
    for (const char* blocked : {".tmp.Del", ".rcv.Del"}) {
        WriteRecoverySources();
        const std::string masterBytes = testsupport::ReadBytes(base_ + ".txt");
        fs::create_directory(base_ + blocked);
        Lines result;
        EXPECT_NE(testsupport::ErrorNumberOf([&] { Recover(FirstThreeCharacters(), result); }), 0) << blocked;
        EXPECT_EQ(testsupport::ReadBytes(base_ + ".txt"), masterBytes) << blocked;

        fs::remove(base_ + blocked);
        Recover(FirstThreeCharacters(), result);
        EXPECT_EQ(Read(base_ + ".txt"), merged_) << blocked;
        EXPECT_EQ(result, merged_) << blocked;
        EXPECT_EQ(BaseFiles(), (Lines{"Cdm.txt"})) << blocked;

        // Nothing is left to take in twice.
        Recover(FirstThreeCharacters(), result);
        EXPECT_EQ(Read(base_ + ".txt"), merged_) << blocked;
        fs::remove(base_ + ".txt");
    }
}

// A work file written after the crash is merged too, not dropped with the
// sources the finished merge had already taken in.
TEST_F(MergeFiles, WorkFileWrittenAfterTheCrashIsNotLost) {
    WriteRecoverySources();
    fs::create_directory(base_ + ".rcv.Del");
    Lines result;
    EXPECT_NE(testsupport::ErrorNumberOf([&] { Recover(FirstThreeCharacters(), result); }), 0);
    fs::remove(base_ + ".rcv.Del");
    ASSERT_TRUE(Exists(base_ + ".mrg"));

    const std::string late = platform::PadRightChars("009 late", 78);
    Write(base_ + ".tmp", {late});
    fs::last_write_time(base_ + ".tmp", fs::last_write_time(base_ + ".mrg") + std::chrono::seconds(5));
    Recover(FirstThreeCharacters(), result);
    Lines expected = merged_;
    expected.push_back(late);
    EXPECT_EQ(Read(base_ + ".txt"), expected);
    EXPECT_EQ(BaseFiles(), (Lines{"Cdm.txt"}));
}

TEST_F(MergeFiles, CompanyFileRecovery) {
    // Market (1, 3), category (10, 4), company code (55, 20).
    const auto line = [](const std::string& market, const std::string& category, const std::string& code,
                         const std::string& name) {
        return platform::PadRightChars(market, 9) + platform::PadRightChars(category, 45) +
               platform::PadRightChars(code, 20) + "\t" + name;
    };
    const std::string base = common::CFFIL02M({1007, 1, 2, "", ""}, env_);
    Write(base + ".txt", {line("JPN", "0010", "1001", "旧一"), line("JPN", "0010", "1003", "旧三")});
    Write(base + ".tmp", {line("JPN", "0020", "1000", "新零"), line("JPN", "0010", "1002", "新二"),
                          line("CHN", "0010", "1001", "中一"), line("JPN", "0010", "1001", "新一")});
    common::MSGRec msg;
    common::CFCPIR0M(1007, 1, 2, "", "", "", env_, msg);
    EXPECT_EQ(Read(base + ".txt"),
              (Lines{line("CHN", "0010", "1001", "中一"), line("JPN", "0010", "1001", "新一"),
                     line("JPN", "0010", "1002", "新二"), line("JPN", "0010", "1003", "旧三"),
                     line("JPN", "0020", "1000", "新零")}));
    EXPECT_FALSE(Exists(base + ".tmp"));
}

// The split run of process 5: two tasks writing file number 1 (CdmTrial).
class SplitGather : public MergeFiles {
protected:
    void SetUp() override {
        MergeFiles::SetUp();
        common::TSCRec control;
        common::InitTaskControlRec(5, 2, env_, control);
        common::CFTSC50M(5, "", env_, control);
        for (long i = 1; i <= 2; ++i) {
            common::TSDRec detail;
            common::InitTaskDetailRec(5, i, env_, control, detail);
            common::CFTSD50M(5, i, env_, detail);
        }
        result_ = common::CFFIL02M({1, 0, 0, "", ".txt"}, env_);
        task1_ = common::CFFIL02M({1, 5, 1, "", ".txt"}, env_);
        task2_ = common::CFFIL02M({1, 5, 2, "", ".txt"}, env_);
        Write(result_, {"old"});
        Write(task1_, {"a1", "a2"});
        Write(task2_, {"b1"});
    }

    std::string result_;
    std::string task1_;
    std::string task2_;
};

TEST_F(SplitGather, AppendsOrStartsAfresh) {
    EXPECT_TRUE(common::CUMRG41M(1, 5, "", "2", env_));
    EXPECT_EQ(Read(result_), (Lines{"old", "a1", "a2", "b1"}));
    EXPECT_FALSE(Exists(task1_));
    EXPECT_FALSE(Exists(task2_));

    Write(task1_, {"c1"});
    EXPECT_TRUE(common::CUMRG41M(1, 5, "", "1", env_));
    EXPECT_EQ(Read(result_), (Lines{"c1"}));
    EXPECT_FALSE(Exists(task1_));
}

TEST_F(SplitGather, RerunAfterCrashGathersOnce) {
    fs::create_directory(task2_ + ".Del");
    EXPECT_NE(testsupport::ErrorNumberOf([&] { common::CUMRG41M(1, 5, "", "2", env_); }), 0);
    EXPECT_EQ(Read(result_), (Lines{"old"}));

    fs::remove(task2_ + ".Del");
    EXPECT_TRUE(common::CUMRG41M(1, 5, "", "2", env_));
    EXPECT_EQ(Read(result_), (Lines{"old", "a1", "a2", "b1"}));
    EXPECT_FALSE(Exists(task1_));
    EXPECT_FALSE(Exists(task2_));
}

TEST_F(SplitGather, MissingControlRecordGathersNothing) {
    EXPECT_TRUE(common::CUMRG41M(1, 6, "", "2", env_));
    const std::string text = "アプリケーションエラー（制御情報が存在しません）　";
    EXPECT_NE(ErrorLog().find(",CUMRG41M,E0:ErrApl ,00," + text + "\r\n"), std::string::npos) << ErrorLog();
    EXPECT_NE(ErrorLog().find("　　ProcIdx   =6\r\n"), std::string::npos);
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].style, 16);
    EXPECT_EQ(Read(result_), (Lines{"old"}));
    EXPECT_TRUE(Exists(task1_));
}

}  // namespace
