#include "common/settings/multi_task_count.h"

#include <gtest/gtest.h>

#include "common/settings/settings.h"
#include "tests/support/program_folder.h"

namespace {

TEST(MultiTaskCount, ClampsToOneThroughTenAndStoresOnlyAClampedValue) {
    testsupport::ProgramFolder folder;
    const struct {
        const char* stored;
        std::int32_t count;
        const char* storedAfter;
    } cases[] = {
        {"0", 1, "1"},     {"11", 10, "10"}, {"25", 10, "10"}, {"7", 7, "7"},  {"3.6", 4, "3.6"},
        {" 5 ", 5, " 5 "}, {"", 1, "1"},     {"abc", 1, "1"},  {"-3", 1, "1"}, {"0.4", 1, "1"},
    };
    for (const auto& c : cases) {
        common::WriteSetting("MirControl\\Common\\MultiTask", c.stored);
        EXPECT_EQ(common::ReadMultiTaskCount(), c.count) << '"' << c.stored << '"';
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\MultiTask"), c.storedAfter) << '"' << c.stored << '"';
    }
}

TEST(MultiTaskCount, KorvaneReadsAndClampsItsOwnKey) {
    testsupport::ProgramFolder folder(true);
    common::WriteSetting("MirControl\\Common\\MultiTask", "7");
    common::WriteSetting("MirControl\\Common\\MultiTaskKsn", "12");
    EXPECT_EQ(common::ReadMultiTaskCount(), 10);
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\MultiTaskKsn"), "10");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\MultiTask"), "7");
}

}  // namespace
