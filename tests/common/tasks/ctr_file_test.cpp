#include "common/tasks/ctr_file.h"

#include <gtest/gtest.h>

#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

class CtrFile : public ::testing::Test {
protected:
    void SetUp() override { common::CCENV00M(env_); }
    std::string FileBytes() { return testsupport::ReadBytes(folder_.program() / "Ctrl" / "HpCtrl.dat"); }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    common::EnvRec env_;
};

TEST_F(CtrFile, FirstReadCreatesTheFileWithAClearedRecord) {
    common::CtrRec stale;
    stale.Status = "B";
    stale.Step = "05";
    stale.StartDate = 20200101;
    common::ReadCtrRec(51, env_, stale);
    EXPECT_EQ(stale.Status, " ");
    EXPECT_EQ(stale.Step, "  ");
    EXPECT_EQ(stale.StartDate, 0);

    const std::string bytes = FileBytes();
    ASSERT_EQ(bytes.size(), 51 * common::kCtrRecSize);
    EXPECT_EQ(bytes.substr(0, 50 * 54), std::string(50 * 54, '\0'));
    const std::string record = bytes.substr(50 * 54);
    EXPECT_NE(record.substr(0, 4), std::string(4, '\0'));  // stamped write date
    EXPECT_EQ(record.substr(16, 16), std::string(16, '\0'));
    EXPECT_EQ(record.substr(32), std::string(22, ' '));  // nothing of the stale record
}

TEST_F(CtrFile, RecordPlaceAndLifecycle) {
    common::CtrRec rec;
    common::MarkCtrRecStart(11, env_, rec, "B");
    ASSERT_GE(FileBytes().size(), 594u);
    EXPECT_EQ(FileBytes().substr(540 + 44, 3), "B00");

    common::CtrRec before;
    common::ReadCtrRec(11, env_, before);
    common::SetCtrRecStep(11, env_, rec, "03");
    common::CtrRec after;
    common::ReadCtrRec(11, env_, after);
    EXPECT_EQ(after.Status, "B");
    EXPECT_EQ(after.Step, "03");
    EXPECT_EQ(after.StartDate, before.StartDate);
    EXPECT_EQ(after.StartTime, before.StartTime);
    EXPECT_EQ(after.EndDate, 0);
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Step"), "03");

    common::MarkCtrRecEnd(11, env_, rec, "Z");
    common::ReadCtrRec(11, env_, after);
    EXPECT_EQ(after.Status, "Z");
    EXPECT_EQ(after.Step, "00");
    EXPECT_GT(after.EndDate, 20000000);

    // Another process's record lies beside it untouched; never-written ones read blank.
    common::MarkCtrRecStart(21, env_, rec, "B");
    common::ReadCtrRec(11, env_, after);
    EXPECT_EQ(after.Status, "Z");
    common::ReadCtrRec(15, env_, after);
    EXPECT_EQ(after.Status, " ");
    EXPECT_EQ(after.WriteDate, 0);
    common::ReadCtrRec(99, env_, after);
    EXPECT_EQ(after.Status, " ");
}

}  // namespace
