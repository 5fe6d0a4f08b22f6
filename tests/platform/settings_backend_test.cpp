#include "platform/settings_backend.h"

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <iterator>
#include <optional>
#include <thread>

#include "platform/trapped_error.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"
#include "tests/support/trapped.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class SettingsStoreTest : public ::testing::Test {
protected:
    testsupport::TempDir dir_;
    testsupport::ScopedEnv config_{"XDG_CONFIG_HOME", dir_.path().string()};
    fs::path database_ = dir_.path() / "MirControl" / "settings.db";
};

TEST_F(SettingsStoreTest, ValuesComeBackExactlyAndSurviveReopening) {
    const std::string values[] = {
        "日本語の値　",  // ideographic blank kept
        " padded ",
        "it's; DROP TABLE settings;--",
        "line1\r\nline2",
        std::string("nul\0inside", 10),
        "",
    };
    {
        SettingsStore store(database_);
        for (std::size_t i = 0; i < std::size(values); ++i) {
            store.Write("MirControl", "Common", "Key" + std::to_string(i), values[i]);
        }
    }
    SettingsStore reopened(database_);
    for (std::size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(reopened.Read("MirControl", "Common", "Key" + std::to_string(i)), values[i]) << i;
    }
}

TEST_F(SettingsStoreTest, AbsentKeyReadsEmpty) {
    SettingsStore store(database_);
    EXPECT_EQ(store.Read("MirControl", "Common", "Exec"), "");
    store.Write("MirControl", "Common", "Exec", "1");
    EXPECT_EQ(store.Read("MirControl", "Task", "Exec"), "");
    EXPECT_EQ(store.Read("Other", "Common", "Exec"), "");
}

TEST_F(SettingsStoreTest, NamesIgnoreCaseAndAWriteReplacesTheValue) {
    SettingsStore store(database_);
    store.Write("MirControl", "Common", "Exec", "1");
    EXPECT_EQ(store.Read("MIRCONTROL", "common", "EXEC"), "1");
    store.Write("mircontrol", "COMMON", "exec", "2");
    EXPECT_EQ(store.Read("MirControl", "Common", "Exec"), "2");
}

TEST_F(SettingsStoreTest, AnotherConnectionSeesAWriteAtOnce) {
    SettingsStore reader(database_);
    SettingsStore writer(database_);
    EXPECT_EQ(reader.Read("MirControl", "Common", "Exec"), "");
    writer.Write("MirControl", "Common", "Exec", "1");
    EXPECT_EQ(reader.Read("MirControl", "Common", "Exec"), "1");
    writer.Write("MirControl", "Common", "Exec", "");
    EXPECT_EQ(reader.Read("MirControl", "Common", "Exec"), "");
}

TEST_F(SettingsStoreTest, WaitsForAnotherWriterInsteadOfFailing) {
    SettingsStore store(database_);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(database_.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::thread release([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    });
    EXPECT_EQ(testsupport::ErrorNumberOf([&] { store.Write("MirControl", "Common", "Exec", "1"); }), 0);
    release.join();
    sqlite3_close(other);
    EXPECT_EQ(store.Read("MirControl", "Common", "Exec"), "1");
}

TEST_F(SettingsStoreTest, ProcessStoreSeesAForkedChildsWriteAtOnce) {
    WriteUserSetting("MirControl", "Common", "Exec", "1");
    ASSERT_EQ(ReadUserSetting("MirControl", "Common", "Exec"), "1");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int code = 1;
        try {
            WriteUserSetting("MirControl", "Common", "Exec", "2");
            code = 0;
        } catch (...) {
        }
        _exit(code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadUserSetting("MirControl", "Common", "Exec"), "2");
}

TEST_F(SettingsStoreTest, ProcessStoreFollowsTheConfigFolder) {
    WriteUserSetting("MirControl", "Common", "Exec", "1");
    testsupport::TempDir second;
    {
        testsupport::ScopedEnv other("XDG_CONFIG_HOME", second.path().string());
        EXPECT_EQ(ReadUserSetting("MirControl", "Common", "Exec"), "");
        EXPECT_TRUE(fs::is_regular_file(second.path() / "MirControl" / "settings.db"));
    }
    EXPECT_EQ(ReadUserSetting("MirControl", "Common", "Exec"), "1");
}

TEST(UserSettingsPath, FallsBackToTheHomeConfigFolder) {
    testsupport::ScopedEnv home("HOME", "/home/user");
    const struct {
        std::optional<std::string> xdg;
        fs::path expected;
    } cases[] = {
        {"/tmp/config", "/tmp/config/MirControl/settings.db"},
        {"", "/home/user/.config/MirControl/settings.db"},
        {std::nullopt, "/home/user/.config/MirControl/settings.db"},
        {"relative/config", "/home/user/.config/MirControl/settings.db"},
    };
    for (const auto& c : cases) {
        testsupport::ScopedEnv xdg("XDG_CONFIG_HOME", c.xdg);
        EXPECT_EQ(UserSettingsPath(), c.expected) << c.xdg.value_or("(unset)");
    }
}

TEST_F(SettingsStoreTest, UnusableStoreRaisesTrappedError) {
    const fs::path plainFile = dir_.path() / "plain";
    testsupport::WriteBytes(plainFile, "not a folder");
    const fs::path folderInstead = dir_.path() / "folder" / "MirControl" / "settings.db";
    fs::create_directories(folderInstead);
    const fs::path notADatabase = dir_.path() / "garbage" / "MirControl" / "settings.db";
    fs::create_directories(notADatabase.parent_path());
    testsupport::WriteBytes(notADatabase, std::string(4096, 'x'));

    const fs::path configHomes[] = {plainFile, dir_.path() / "folder", dir_.path() / "garbage"};
    for (const fs::path& configHome : configHomes) {
        testsupport::ScopedEnv xdg("XDG_CONFIG_HOME", configHome.string());
        for (const auto& access : {std::function<void()>([] { ReadUserSetting("MirControl", "Common", "Exec"); }),
                                   std::function<void()>([] { WriteUserSetting("MirControl", "Common", "Exec", "1"); })}) {
            const std::optional<TrappedError> error = testsupport::CaughtError(access);
            ASSERT_TRUE(error) << configHome;
            EXPECT_EQ(error->number(), error_number::kPathFileAccess);
            EXPECT_NE(error->description().find(configHome.string()), std::string::npos) << error->description();
        }
    }
    EXPECT_EQ(testsupport::ReadBytes(plainFile), "not a folder");
}

}  // namespace
}  // namespace platform
