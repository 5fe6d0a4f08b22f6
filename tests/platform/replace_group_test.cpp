#include "platform/replace_group.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/trapped_error.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"
#include "tests/support/trapped.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testsupport::EntriesOf;
using testsupport::ReadBytes;

std::string PartName(int k) { return "part" + std::to_string(100 + k) + ".txt"; }
std::string PartBytes(int k) { return std::string(static_cast<std::size_t>(1000 * k), static_cast<char>('a' + k)); }

// More files than writers, each of its own size: every one is whole once the
// group is finished, and no fresh file is left beside them.
TEST(ReplaceGroup, EveryFileIsWholeAfterFinish) {
    const testsupport::TempDir dir;
    constexpr int kFiles = 20;
    ReplaceGroup group;
    for (int k = 0; k < kFiles; ++k) AtomicReplace(dir.path() / PartName(k), PartBytes(k));
    group.Finish();
    std::vector<std::string> names;
    for (int k = 0; k < kFiles; ++k) {
        EXPECT_EQ(ReadBytes(dir.path() / PartName(k)), PartBytes(k)) << PartName(k);
        names.push_back(PartName(k));
    }
    EXPECT_EQ(EntriesOf(dir.path()), names);
    EXPECT_EQ(ReplaceGroup::Current(), nullptr);
}

// Of two failures the first given is thrown; the files around them are
// written all the same, and after Finish a replace is done at once again.
TEST(ReplaceGroup, FinishThrowsTheFirstFailureGivenAndWritesTheRest) {
    const testsupport::TempDir dir;
    fs::create_directory(dir.path() / "folder");
    ReplaceGroup group;
    AtomicReplace(dir.path() / PartName(1), PartBytes(1));
    AtomicReplace(dir.path() / "missing" / PartName(2), PartBytes(2));
    AtomicReplace(dir.path() / "folder", PartBytes(3));
    AtomicReplace(dir.path() / PartName(4), PartBytes(4));
    const std::optional<TrappedError> error = testsupport::CaughtError([&] { group.Finish(); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), error_number::kPathNotFound);
    EXPECT_EQ(EntriesOf(dir.path()), (std::vector<std::string>{"folder", PartName(1), PartName(4)}));

    AtomicReplace(dir.path() / PartName(5), PartBytes(5));
    EXPECT_EQ(ReadBytes(dir.path() / PartName(5)), PartBytes(5));
}

// An inner group takes the files while it is open; a group left without
// Finish still waits for its files, and keeps their failure to itself.
TEST(ReplaceGroup, NestsAndWaitsWhenLeftUnfinished) {
    const testsupport::TempDir dir;
    {
        ReplaceGroup outer;
        AtomicReplace(dir.path() / PartName(1), PartBytes(1));
        {
            ReplaceGroup inner;
            EXPECT_EQ(ReplaceGroup::Current(), &inner);
            AtomicReplace(dir.path() / PartName(2), PartBytes(2));
            inner.Finish();
            EXPECT_EQ(ReadBytes(dir.path() / PartName(2)), PartBytes(2));
        }
        EXPECT_EQ(ReplaceGroup::Current(), &outer);
        AtomicReplace(dir.path() / "missing" / PartName(3), PartBytes(3));
    }
    EXPECT_EQ(ReplaceGroup::Current(), nullptr);
    EXPECT_EQ(ReadBytes(dir.path() / PartName(1)), PartBytes(1));
    EXPECT_EQ(EntriesOf(dir.path()), (std::vector<std::string>{PartName(1), PartName(2)}));
}

}  // namespace
}  // namespace platform
