#include "platform/file_system.h"

#include <algorithm>
#include <csignal>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/file_size_limit.h"

#include "tests/support/trapped.h"

#include "platform/trapped_error.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testsupport::EntriesOf;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

std::optional<TrappedError> ErrorOfReplace(const fs::path& target, std::string_view bytes) {
    return testsupport::CaughtError([&] { AtomicReplace(target, bytes); });
}

class AtomicReplaceTest : public ::testing::Test {
protected:
    AtomicReplaceTest() : target_(dir_.path() / "prices.csv") { WriteBytes(target_, kOld); }

    // The old file is all there is in the folder, byte for byte.
    void ExpectOldFileAlone() const {
        EXPECT_EQ(EntriesOf(dir_.path()), std::vector<std::string>{"prices.csv"});
        EXPECT_EQ(ReadBytes(target_), kOld);
    }

    static constexpr const char* kOld = "2005/03/09,100\r\n2005/03/10,101\r\n";
    const std::string kNew = std::string("new\0bytes\r\n", 11) + std::string(5000, 'x');
    testsupport::TempDir dir_;
    fs::path target_;
};

TEST_F(AtomicReplaceTest, ReplacesTheWholeFileAndLeavesNothingElse) {
    AtomicReplace(target_, kNew);
    EXPECT_EQ(ReadBytes(target_), kNew);
    AtomicReplace(target_, "");
    EXPECT_EQ(ReadBytes(target_), "");
    EXPECT_EQ(EntriesOf(dir_.path()), std::vector<std::string>{"prices.csv"});
}

TEST_F(AtomicReplaceTest, CreatesAMissingFile) {
    AtomicReplace(dir_.path() / "new.csv", kNew);
    EXPECT_EQ(ReadBytes(dir_.path() / "new.csv"), kNew);
    EXPECT_EQ(EntriesOf(dir_.path()), (std::vector<std::string>{"new.csv", "prices.csv"}));
}

TEST_F(AtomicReplaceTest, KeepsTheOldFilesPermissions) {
    fs::permissions(target_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    AtomicReplace(target_, kNew);
    EXPECT_EQ(fs::status(target_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(AtomicReplaceTest, MissingFolderIsPathNotFound) {
    const std::optional<TrappedError> error = ErrorOfReplace(dir_.path() / "missing" / "prices.csv", kNew);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), error_number::kPathNotFound);
    EXPECT_NE(error->description().find("missing"), std::string::npos) << error->description();
    ExpectOldFileAlone();
}


TEST_F(AtomicReplaceTest, NoRoomIsDiskFullAndKeepsTheOldFile) {
    std::optional<TrappedError> error;
    {
        testsupport::FileSizeLimit limit(16);
        error = ErrorOfReplace(target_, kNew);
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), error_number::kDiskFull);
    ExpectOldFileAlone();
}

TEST_F(AtomicReplaceTest, FailedRenameRemovesTheWrittenFile) {
    const fs::path folderTarget = dir_.path() / "archive";
    WriteBytes(folderTarget / "kept.csv", kOld);
    const std::optional<TrappedError> error = ErrorOfReplace(folderTarget, kNew);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), error_number::kPathFileAccess);
    EXPECT_EQ(EntriesOf(dir_.path()), (std::vector<std::string>{"archive", "prices.csv"}));
    EXPECT_EQ(EntriesOf(folderTarget), std::vector<std::string>{"kept.csv"});
}

TEST_F(AtomicReplaceTest, ReadOnlyFolderIsAccessErrorAndKeepsTheOldFile) {
    fs::permissions(dir_.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const bool canStillWrite = access(dir_.path().c_str(), W_OK) == 0;
    std::optional<TrappedError> error;
    if (!canStillWrite) error = ErrorOfReplace(target_, kNew);
    fs::permissions(dir_.path(), fs::perms::owner_all);
    if (canStillWrite) GTEST_SKIP() << "permissions do not stop this user (root)";
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), error_number::kPathFileAccess);
    ExpectOldFileAlone();
}

// A writer killed before its rename leaves its fresh file; once the writer is
// gone (reaped, or ended and not yet reaped) the file goes, while a live
// writer's file and every other file stay.
TEST_F(AtomicReplaceTest, OrphanedReplacementsOfGoneWritersAreRemoved) {
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    const pid_t zombie = fork();
    if (zombie == 0) _exit(0);
    siginfo_t ended{};
    ASSERT_EQ(waitid(P_PID, static_cast<id_t>(zombie), &ended, WEXITED | WNOWAIT), 0);
    const std::string orphan = "prices.csv.tmp" + std::to_string(gone) + "-0";
    const std::string unreaped = "prices.csv.tmp" + std::to_string(zombie) + "-1";
    const std::string live = "prices.csv.tmp" + std::to_string(getpid()) + "-7";
    for (const std::string& name :
         {orphan, unreaped, live, std::string("prices.csv.tmp"), std::string("notes.tmp12x-3")}) {
        WriteBytes(dir_.path() / name, "part");
    }

    RemoveOrphanedReplacements(dir_.path());
    waitpid(zombie, nullptr, 0);

    EXPECT_EQ(EntriesOf(dir_.path()),
              (std::vector<std::string>{"notes.tmp12x-3", "prices.csv", "prices.csv.tmp", live}));
    EXPECT_EQ(ReadBytes(target_), kOld);
}

// A scratch file is replaced whole; one that finds no room throws as a full
// disk and leaves nothing behind, neither its old nor a cut new copy.
TEST_F(AtomicReplaceTest, ScratchFileIsReplacedWholeOrNotAtAll) {
    WriteScratchFile(target_, kNew);
    EXPECT_EQ(ReadBytes(target_), kNew);
    WriteScratchFile(target_, kOld);
    ExpectOldFileAlone();

    std::optional<TrappedError> error;
    {
        testsupport::FileSizeLimit limit(16);
        error = testsupport::CaughtError([&] { WriteScratchFile(target_, kNew); });
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), error_number::kDiskFull);
    EXPECT_EQ(EntriesOf(dir_.path()), std::vector<std::string>{});
    EXPECT_EQ(testsupport::CaughtError([&] { WriteScratchFile(dir_.path() / "missing" / "page.htm", kNew); })->number(),
              error_number::kPathNotFound);
}

TEST(FileExists, OnlyRegularFiles) {
    testsupport::TempDir dir;
    WriteBytes(dir.path() / "a.csv", "x");
    fs::create_symlink(dir.path() / "a.csv", dir.path() / "link.csv");
    EXPECT_TRUE(FileExists(dir.path() / "a.csv"));
    EXPECT_TRUE(FileExists(dir.path() / "link.csv"));
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(dir.path() / "missing.csv"));
}

TEST(FileModifiedTime, IsLocalTimeWithMilliseconds) {
    testsupport::TempDir dir;
    const fs::path file = dir.path() / "a.csv";
    WriteBytes(file, "x");
    // 2005-03-09 12:34:56.250 UTC
    const timespec times[2] = {{1110371696, 250000000}, {1110371696, 250000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    {
        testsupport::ScopedEnv tz("TZ", "UTC");
        EXPECT_EQ(FileModifiedTime(file), (DateTime{{2005, 3, 9}, 12, 34, 56, 250}));
    }
    {
        testsupport::ScopedEnv tz("TZ", "JST-9");
        EXPECT_EQ(FileModifiedTime(file), (DateTime{{2005, 3, 9}, 21, 34, 56, 250}));
    }
    EXPECT_EQ(FileModifiedTime(dir.path() / "missing.csv"), std::nullopt);
}

class ListMatchingTest : public ::testing::Test {
protected:
    ListMatchingTest() {
        for (const char* name :
             {"data2.CSV", "Data1.csv", "data10.csv", "d.csv", "notes.txt", "価格.csv", "値.csv", "a.b.c"}) {
            WriteBytes(dir_.path() / name, "x");
        }
        fs::create_directory(dir_.path() / "data3.csv");
    }
    testsupport::TempDir dir_;
};

TEST_F(ListMatchingTest, WildcardsIgnoreCaseAndResultsAreSortedByName) {
    using Names = std::vector<std::string>;
    const std::pair<const char*, Names> cases[] = {
        {"data*.csv", {"Data1.csv", "data10.csv", "data2.CSV"}},
        {"DATA?.CSV", {"Data1.csv", "data2.CSV"}},
        {"*1*", {"Data1.csv", "data10.csv"}},
        {"?.csv", {"d.csv", "値.csv"}},
        {"??.csv", {"価格.csv"}},
        {"*??.csv", {"Data1.csv", "data10.csv", "data2.CSV", "価格.csv"}},
        {"価格.*", {"価格.csv"}},
        {"*.txt", {"notes.txt"}},
        {"*.*.*", {"a.b.c"}},
        {"d*s*v", {"d.csv", "Data1.csv", "data10.csv", "data2.CSV"}},
        {"*", {"a.b.c", "d.csv", "Data1.csv", "data10.csv", "data2.CSV", "notes.txt", "価格.csv", "値.csv"}},
        {"data1.csv", {"Data1.csv"}},
        {"data3.csv", {}},
        {"data", {}},
        {"*.cs", {}},
    };
    for (const auto& [pattern, names] : cases) {
        EXPECT_EQ(ListMatching(dir_.path(), pattern), names) << pattern;
    }
}

TEST_F(ListMatchingTest, NamesDifferingOnlyInCaseComeInByteOrder) {
    WriteBytes(dir_.path() / "notes.TXT", "x");
    EXPECT_EQ(ListMatching(dir_.path(), "notes.*"), (std::vector<std::string>{"notes.TXT", "notes.txt"}));
}

TEST_F(ListMatchingTest, MissingFolderListsNothing) {
    EXPECT_TRUE(ListMatching(dir_.path() / "missing", "*").empty());
}

TEST(EnsureFolder, CreatesParentsAndAcceptsAnExistingFolder) {
    testsupport::TempDir dir;
    const fs::path folder = dir.path() / "a" / "b" / "c";
    EnsureFolder(folder);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_NO_THROW(EnsureFolder(folder));
}

TEST(EnsureFolder, PathThroughAFileIsPathNotFound) {
    testsupport::TempDir dir;
    WriteBytes(dir.path() / "file", "x");
    const std::optional<TrappedError> error = testsupport::CaughtError([&] { EnsureFolder(dir.path() / "file" / "sub"); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), error_number::kPathNotFound);
    EXPECT_EQ(error->source(), "EnsureFolder");
}

}  // namespace
}  // namespace platform
