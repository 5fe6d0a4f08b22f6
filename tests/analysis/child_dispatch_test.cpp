#include "analysis/child_dispatch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/analysis/part_judgement_fixture.h"

namespace {

class ChildDispatch : public analysis_test::PartJudgementTest {};

TEST_F(ChildDispatch, JudgementOfAListedCountryJudgesThePart) {
    WritePart({Company("1001")});
    WriteSeries("1001", analysis_test::kSignalZigzag);
    analysis::SubMenu(kProcess, kSequence, task, env);
    EXPECT_EQ(Report(114), "Z");
    EXPECT_EQ(Results().size(), 2u);
    EXPECT_EQ(env.runMode, 2);
    EXPECT_FALSE(std::filesystem::exists(env.folder(common::Folder::Work)));
}

TEST_F(ChildDispatch, UnlistedCountryIsLoggedAndFailsTheTask) {
    task.ProcIdx = 24;
    EXPECT_THROW(analysis::SubMenu(24, kSequence, task, env), testsupport::ProgramEnded);
    const std::string path = common::CFFIL02M({111, 24, kSequence, "S", ".dat"}, env);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(testsupport::ReadBytes(path).substr(34, 1), "E");
    const std::string errors = ReadLog(common::State().errorLogPath);
    EXPECT_NE(errors.find(",SubMenu,E0:ErrApl ,01,SubMenu(1)：SubMenu　アプリケーションエラー（国の選択エラー）　\r\n"),
              std::string::npos);
    EXPECT_NE(errors.find(",SubMenu(1)：  wProcIdx=2  wCountryIdx=4\r\n"), std::string::npos);
    ASSERT_FALSE(ui.presenter->boxes.empty());
    EXPECT_EQ(ui.presenter->boxes[0].text.rfind("アプリケーションエラー（国の選択エラー）　", 0), 0u);
    EXPECT_NE(ReadLog(common::State().runLogPath).find(",SubMenu,99:ABEND  ,00,SubMenu End(Abnormal)  : "),
              std::string::npos);
}

TEST_F(ChildDispatch, OtherProcessFailsTheTaskInsteadOfLeavingTheParentWaiting) {
    task.ProcIdx = 41;
    EXPECT_THROW(analysis::SubMenu(41, kSequence, task, env), testsupport::ProgramEnded);
    const std::string path = common::CFFIL02M({111, 41, kSequence, "S", ".dat"}, env);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(testsupport::ReadBytes(path).substr(34, 1), "E");
    ASSERT_FALSE(ui.presenter->boxes.empty());
    EXPECT_EQ(ui.presenter->boxes[0].text.rfind("アプリケーションエラー（処理の選択エラー）　", 0), 0u);
}

}  // namespace
