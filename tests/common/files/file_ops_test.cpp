#include "common/files/file_ops.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/run_state.h"
#include "platform/trapped_error.h"
#include "tests/common/files/file_routine_fixture.h"
#include "tests/support/file_bytes.h"
#include "tests/support/trapped.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

class FileOps : public testsupport::FileRoutineTest {
protected:
    bool Exists(const std::string& name) const { return fs::exists(Path(name)); }
};

TEST_F(FileOps, CFFIL41MPutsTheNewFileInPlace) {
    WriteBytes(Path("data.tmp"), "new");
    EXPECT_TRUE(common::CFFIL41M(Path("data"), ".tmp", ".txt"));
    EXPECT_EQ(ReadBytes(Path("data.txt")), "new");
    EXPECT_FALSE(Exists("data.tmp"));

    WriteBytes(Path("data.tmp"), "newer");
    EXPECT_TRUE(common::CFFIL41M(Path("data"), ".tmp", ".txt"));
    EXPECT_EQ(ReadBytes(Path("data.txt")), "newer");
    EXPECT_FALSE(Exists("data.tmp"));

    EXPECT_FALSE(common::CFFIL41M(Path("data"), ".tmp", ".txt"));
    EXPECT_EQ(ReadBytes(Path("data.txt")), "newer");
}

TEST_F(FileOps, CFFIL60MRenamesWithinTheSourceFolder) {
    fs::create_directories(Path("sub"));
    WriteBytes(Path("a.txt"), "a");
    WriteBytes(Path("b.txt"), "stale");
    common::CFFIL60M(Path("a.txt"), Path("sub") + "/b.txt");
    EXPECT_EQ(ReadBytes(Path("b.txt")), "a");
    EXPECT_FALSE(Exists("a.txt"));
    EXPECT_FALSE(Exists("sub/b.txt"));

    common::CFFIL60M(Path("none.txt"), Path("c.txt"));
    EXPECT_FALSE(Exists("c.txt"));
}

TEST_F(FileOps, CFFIL70MDeletesThroughTheDelName) {
    WriteBytes(Path("x.txt"), "x");
    WriteBytes(Path("x.txt.Del"), "leftover");
    common::CFFIL70M(Path("x.txt"));
    EXPECT_FALSE(Exists("x.txt"));
    EXPECT_FALSE(Exists("x.txt.Del"));

    WriteBytes(Path("y.txt.Del"), "leftover");
    common::CFFIL70M(Path("y.txt"));
    EXPECT_FALSE(Exists("y.txt.Del"));

    EXPECT_EQ(testsupport::ErrorNumberOf([&] { common::CFFIL70M(Path("none.txt")); }), 0);
    EXPECT_TRUE(fs::is_empty(dir_.path()));
}

TEST_F(FileOps, ListingGoesInNameOrder) {
    for (const char* name : {"TSD012002.dat", "TSD012001.dat", "TSD013001.dat", "tsd012003.dat"}) {
        WriteBytes(Path(name), "");
    }
    fs::create_directories(Path("TSD012folder"));
    EXPECT_EQ(common::CFFIL11M(Path("TSD012*")), "TSD012001.dat");
    EXPECT_EQ(common::CFFIL12M(), "TSD012002.dat");
    EXPECT_EQ(common::CFFIL12M(), "tsd012003.dat");
    EXPECT_EQ(common::CFFIL12M(), "");
    EXPECT_EQ(common::CFFIL12M(), "");

    EXPECT_EQ(common::CFFIL11M(Path("none*")), "");
    EXPECT_EQ(common::CFFIL12M(), "");
    EXPECT_EQ(common::CFFIL11M(Path("no/TSD*")), "");
}

TEST_F(FileOps, CopyFileIfAbsentNeverOverwrites) {
    WriteBytes(Path("src.txt"), "source");
    common::CopyFileIfAbsent(Path("src.txt"), Path("dst.txt"));
    EXPECT_EQ(ReadBytes(Path("dst.txt")), "source");

    WriteBytes(Path("src.txt"), "changed");
    common::CopyFileIfAbsent(Path("src.txt"), Path("dst.txt"));
    EXPECT_EQ(ReadBytes(Path("dst.txt")), "source");

    common::CopyFileIfAbsent(Path("none.txt"), Path("other.txt"));
    EXPECT_FALSE(Exists("other.txt"));

    EXPECT_EQ(testsupport::ErrorNumberOf([&] { common::CopyFileIfAbsent(Path("src.txt"), Path("no/dst.txt")); }),
              platform::error_number::kPathNotFound);
}

}  // namespace
