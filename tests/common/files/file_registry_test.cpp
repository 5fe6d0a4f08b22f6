#include "common/files/file_registry.h"

#include <gtest/gtest.h>

#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using common::CFFIL02M;
using common::CFFIL03M;
using common::FilePathReq;

class FileRegistry : public ::testing::Test {
protected:
    void SetUp() override { common::CCENV00M(env_); }

    std::string Path(const FilePathReq& req) { return CFFIL02M(req, env_); }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    common::EnvRec env_;
};

TEST_F(FileRegistry, NamesByTheRule) {
    const std::string ctrl = folder_.program().string() + "/Ctrl";
    const std::string temp = folder_.program().string() + "/Temp";
    const std::string data = folder_.data().string();
    struct Case {
        FilePathReq req;
        std::string expected;
    } cases[] = {
        {{1, 0, 0, "", ".txt"}, ctrl + "/CdmTrial.txt"},
        {{1, 12, 3, "", ".tmp"}, ctrl + "/CdmTrial012003.tmp"},
        {{100, 12, 3, "", ".dat"}, temp + "/TSC012.dat"},
        {{102, 12, 3, "", ".dat"}, temp + "/TSD012003.dat"},
        {{10005, 12, 3, "", ".txt"}, temp + "/HtmlOrgn012003.htm"},
        {{10001, 0, 0, "", ""}, temp + "/HtmlText.txt"},
        {{1014, 0, 0, "7203D", ".txt"}, data + "/Chart/Chart7203D.txt"},
        {{1003, 1234, -2, "", ".txt"}, data + "/WebData/企業一覧(国内)1234.txt"},
        {{102, 12, 0, "*", ""}, temp + "/TSD012*"},
        {{20003, 0, 0, "", ".dat"}, folder_.program().string() + "/HpSys901.dat"},
        {{30001, 21, 0, "", ".dat"}, ctrl + "/MiningTrial021.dat"},
        {{40001, 0, 0, "（国内）", ".dat"}, data + "/Keisen/鉤足判定結果（国内）.dat"},
        {{7, 0, 0, "", ".txt"}, data + "/User/PfName.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Path(c.req), c.expected) << c.req.FNameIdx;
    }
    Path({1014, 5, 2, "x", ".txt"});
    EXPECT_EQ(env_.currentFolder, data + "/Chart");
    EXPECT_EQ(env_.currentFileName, "/Chart005002x.txt");
}

TEST_F(FileRegistry, DefaultExtensions) {
    const std::pair<long, const char*> cases[] = {{1, ".txt"},    {5, ".dat"},     {10, ".txt"},   {111, ".dat"},
                                                  {1017, ".txt"}, {20003, ".dat"}, {40002, ".dat"}, {50001, ".tmp"},
                                                  {200, ".txt"},  {3004, ".txt"}};
    for (const auto& [number, extension] : cases) {
        EXPECT_EQ(CFFIL03M(number), extension) << number;
    }
}

// Every error is an application error: error-log lines, the critical box, the end.
TEST_F(FileRegistry, UnknownNumbersEndTheProgram) {
    common::SetTaskWorkPaths(0, 0, env_);
    for (const long number : {75L, 0L, -1L}) {
        EXPECT_THROW(Path({number, 0, 0, "", ".txt"}), testsupport::ProgramEnded) << number;
    }
    EXPECT_THROW(CFFIL03M(10001), testsupport::ProgramEnded);

    ASSERT_EQ(ui_.presenter->boxes.size(), 4u);
    EXPECT_EQ(ui_.presenter->boxes[0].style, 16);
    EXPECT_EQ(ui_.presenter->boxes[0].text.rfind("アプリケーションエラー（ファイル№が不正）\r\n\r\n", 0), 0u);
    EXPECT_EQ(ui_.presenter->boxes[3].text.rfind("アプリケーションエラー（ファイル№が不正・拡張子）", 0), 0u);
    EXPECT_EQ(common::State().functionId, "");

    const std::string log = testsupport::ReadBytes(folder_.program() / "Log" / "ErrLog.txt");
    // 11 lines for each CFFIL02M error, 4 for the CFFIL03M one.
    std::size_t lines = 0;
    for (std::size_t at = log.find("\r\n"); at != std::string::npos; at = log.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, 3 * 11 + 4u);
    EXPECT_NE(log.find(",CFFIL02M,E0:ErrApl ,00,FNameIdx =75\r\n"), std::string::npos);
}

TEST_F(FileRegistry, EnvRecNeverSetUpEndsTheProgram) {
    common::EnvRec blank;
    EXPECT_THROW(CFFIL02M({1, 0, 0, "", ".txt"}, blank), testsupport::ProgramEnded);
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text.rfind("アプリケーションエラー（Path未設定）", 0), 0u);
}

TEST(FileRegistryKorvane, OwnPortfolioNamesAndNo200) {
    testsupport::ProgramFolder folder(true);
    testsupport::FakeUi ui;
    common::EnvRec env;
    common::CCENV00M(env);
    EXPECT_EQ(CFFIL02M({7, 0, 0, "", ".txt"}, env), folder.data().string() + "/User/PFolioM.txt");
    EXPECT_EQ(CFFIL02M({8, 0, 0, "", ".txt"}, env), folder.data().string() + "/User/PFolioD.txt");
    EXPECT_THROW(CFFIL02M({200, 0, 0, "", ".txt"}, env), testsupport::ProgramEnded);
    EXPECT_THROW(CFFIL03M(200), testsupport::ProgramEnded);
}

}  // namespace
