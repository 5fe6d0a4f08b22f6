#include "common/startup/run_env.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "common/run_state.h"
#include "common/settings/settings.h"
#include "platform/trapped_error.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

namespace fs = std::filesystem;
using common::Folder;

TEST(RunEnv, SetUpBuildsTheTreeBesideTheProgramFolder) {
    testsupport::ProgramFolder folder(false, "Collect");
    common::EnvRec env;
    common::CCENV00M(env);
    const std::string p = folder.program().string();
    const std::string d = (folder.root() / "Apps" / "HpData").string();
    EXPECT_EQ(env.Path, p);
    EXPECT_EQ(env.DataPath, d);
    EXPECT_EQ(env.MainPath, p);
    EXPECT_EQ(env.TaskPath, p);
    EXPECT_EQ(env.folder(Folder::Ctrl), p + "/Ctrl");
    EXPECT_EQ(env.folder(Folder::Temp), p + "/Temp");
    EXPECT_EQ(env.folder(Folder::Work), p + "/Temp");
    EXPECT_EQ(env.folder(Folder::Chart), d + "/Chart");
    EXPECT_EQ(env.setupFlag, 1);
    for (const char* made : {"Chart", "Keisen", "Split", "User", "WebData", "DispData"}) {
        EXPECT_TRUE(fs::is_directory(fs::path(d) / made)) << made;
    }
    for (const char* made : {"Ctrl", "Log", "Temp"}) {
        EXPECT_TRUE(fs::is_directory(folder.program() / made)) << made;
    }
    EXPECT_FALSE(fs::exists(fs::path(d) / "Data"));
    EXPECT_FALSE(fs::exists(fs::path(d) / "Mining"));
}

TEST(RunEnv, CommandLineWords) {
    testsupport::ProgramFolder folder;
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"   ", {}},
        {"Tq8 012  003", {"Tq8", "012", "003"}},
        {"  a b ", {"a", "b"}},
    };
    for (const auto& [line, words] : cases) {
        common::State().commandLine = line;
        common::EnvRec env;
        common::CCENV10M(env);
        EXPECT_EQ(env.arguments, words) << line;
        EXPECT_EQ(env.argumentCount, static_cast<long>(words.size())) << line;
    }
}

TEST(RunEnv, TaskCountFromTheSettingWithoutUpperClamp) {
    testsupport::ProgramFolder folder;
    const std::pair<const char*, long> cases[] = {{"0", 1}, {"abc", 1}, {"25", 25}, {"3", 3}};
    for (const auto& [value, expected] : cases) {
        common::WriteSetting("MirControl\\Common\\MultiTask", value);
        common::EnvRec env;
        common::CCENV00M(env);
        EXPECT_EQ(env.taskCount, expected) << value;
        EXPECT_EQ(common::State().taskPaths.size(), static_cast<std::size_t>(expected) + 1);
    }
}

TEST(RunEnv, KorvaneReadsItsOwnTaskCount) {
    testsupport::ProgramFolder folder(true);
    common::WriteSetting("MirControl\\Common\\MultiTask", "7");
    common::WriteSetting("MirControl\\Common\\MultiTaskKsn", "4");
    common::EnvRec env;
    common::CCENV00M(env);
    EXPECT_EQ(env.taskCount, 4);
}

TEST(RunEnv, TaskWorkPaths) {
    testsupport::ProgramFolder folder;
    const std::string temp = folder.program().string() + "/Temp";
    const std::string log = folder.program().string() + "/Log";
    common::EnvRec env;
    common::CCENV00M(env);

    common::SetTaskWorkPaths(12, 3, env);
    const common::RunState& state = common::State();
    EXPECT_TRUE(fs::is_directory(temp + "/Htm0120003"));
    EXPECT_EQ(env.folder(Folder::Work), temp + "/Htm0120003");
    EXPECT_EQ(state.processNumber, 12);
    EXPECT_EQ(state.taskSequenceText, "3");
    EXPECT_EQ(state.runLogPath, log + "/AplLog012003.txt");
    EXPECT_EQ(state.errorLogPath, log + "/ErrLog012003.txt");
    // The first call still places the page-fetch files in the work folder held on entry.
    EXPECT_EQ(state.fetchedPageFolder, temp);
    EXPECT_EQ(state.fetchedPageFileName, "/HtmlOrgn012003.htm");
    EXPECT_EQ(state.fetchWorkPaths[6], temp + "/HtmlLog012003.txt");

    common::SetTaskWorkPaths(12, 3, env);
    EXPECT_EQ(state.fetchedPageFolder + state.fetchedPageFileName, temp + "/Htm0120003/HtmlOrgn012003.htm");

    common::EnvRec fresh;
    common::CCENV00M(fresh);
    common::SetTaskWorkPaths(0, 0, fresh);
    EXPECT_EQ(state.runLogPath, log + "/AplLog.txt");
    EXPECT_TRUE(fs::is_directory(temp + "/Htm0000000"));
}

TEST(RunEnv, FolderThatCannotBeCreatedIsATrappedError) {
    testsupport::ProgramFolder folder;
    testsupport::WriteBytes(folder.root() / "Apps" / "HpData", "a file where the data root belongs");
    common::EnvRec env;
    EXPECT_THROW(common::CCENV00M(env), platform::TrappedError);
}

TEST(RunEnv, DataFileDate) {
    testsupport::ProgramFolder folder;
    common::EnvRec env;
    common::CCENV00M(env);
    platform::DateTime stamp{};
    EXPECT_FALSE(common::GetDataFileDate(1, 0, 0, "", " ", stamp, env));
    EXPECT_EQ(stamp, platform::DateTime{});
    testsupport::WriteBytes(folder.program() / "Ctrl" / "CdmTrial.txt", "x\r\n");
    EXPECT_TRUE(common::GetDataFileDate(1, 0, 0, "", "", stamp, env));
    EXPECT_GE(stamp.date.year, 2020);
    EXPECT_THROW(common::CFILUD0M((folder.root() / "missing.txt").string()), platform::TrappedError);
}

TEST(RunEnv, NowNumbers) {
    long date = 0;
    long time = 0;
    common::GetNowNumbers(date, time);
    const platform::DateTime now = platform::Now();
    EXPECT_EQ(date / 10000, now.date.year);
    EXPECT_GE(time, 0);
    EXPECT_LT(time, 240000);
    EXPECT_LT(time % 100, 60);
}

TEST(RunEnv, RandomText) {
    testsupport::ProgramFolder folder;
    const fs::path saved = fs::current_path();
    fs::current_path(folder.root());
    common::CCRND000();
    fs::current_path(saved);
    std::string text = testsupport::ReadBytes(folder.root() / "Rnd.txt");
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    text.resize(text.size() - 2);
    ASSERT_EQ(text.size(), 1000u);
    for (std::size_t i = 0; i < text.size(); ++i) {
        EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(text[i]))) << i;
        if (i > 0) {
            EXPECT_NE(text[i], text[i - 1]) << i;
        }
    }
}

}  // namespace
