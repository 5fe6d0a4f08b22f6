#include "common/logs/logs.h"

#include <gtest/gtest.h>

#include <regex>

#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "platform/cp932.h"
#include "platform/trapped_error.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using namespace common::log_tag;

class Logs : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
    }

    void WriteSwitchFile(const std::string& letters) {
        std::string bytes(330, ' ');
        for (std::size_t n = 0; n < letters.size(); ++n) bytes[10 * n + 9] = letters[n];
        testsupport::WriteBytes(folder_.program() / "HpSys901.dat", bytes);
    }

    std::string RunLog() { return platform::FromCp932(testsupport::ReadBytes(common::State().runLogPath)).text; }
    std::string ErrorLog() { return platform::FromCp932(testsupport::ReadBytes(common::State().errorLogPath)).text; }

    testsupport::ProgramFolder folder_;
    common::EnvRec env_;
};

TEST_F(Logs, SwitchFile) {
    common::LoadLogSwitches(env_);
    EXPECT_TRUE(common::LogSwitch(1));
    for (int n = 2; n <= 17; ++n) EXPECT_FALSE(common::LogSwitch(n)) << n;

    WriteSwitchFile("ZCB5DNOGXZHMLZ9HW");
    common::LoadLogSwitches(env_);
    for (int n = 1; n <= 17; ++n) EXPECT_TRUE(common::LogSwitch(n)) << n;

    WriteSwitchFile("zCBXDNOGXZHMLZ9H ");
    common::LoadLogSwitches(env_);
    EXPECT_FALSE(common::LogSwitch(1));  // case counts
    EXPECT_TRUE(common::LogSwitch(2));
    EXPECT_FALSE(common::LogSwitch(4));
    EXPECT_FALSE(common::LogSwitch(17));

    // A short file turns on only the switches it holds.
    testsupport::WriteBytes(folder_.program() / "HpSys901.dat", std::string(9, ' ') + "Z" + std::string(9, ' ') + "C");
    common::LoadLogSwitches(env_);
    EXPECT_TRUE(common::LogSwitch(1));
    EXPECT_TRUE(common::LogSwitch(2));
    EXPECT_FALSE(common::LogSwitch(3));
}

TEST_F(Logs, LineLayout) {
    common::LoadLogSwitches(env_);
    common::State().processNumber = 117;
    common::State().taskSequence = 5;
    common::WriteRunLog(common::LogSwitch(1), "AKAGI00M", kStart, "00", "判定, 開始,");
    common::WriteProcLog(common::LogSwitch(4), "AHPJP30M", kStart, "00", "not written");
    common::WriteErrorLog(common::State().errorLogOn, "CFFIL02M", kErrApl, "01", "エラー");

    const std::regex line(R"(\d{4}/\d{2}/\d{2},\d{2}:\d{2}:\d{2}\.\d{3},117,005,AKAGI00M,01:Start  ,00,判定, 開始,\r\n)");
    EXPECT_TRUE(std::regex_match(RunLog(), line)) << RunLog();
    EXPECT_NE(ErrorLog().find(",117,005,CFFIL02M,E0:ErrApl ,01,エラー\r\n"), std::string::npos);
    // On disk the log is code page 932.
    EXPECT_NE(testsupport::ReadBytes(common::State().runLogPath).find(platform::ToCp932("判定").bytes),
              std::string::npos);
}

TEST_F(Logs, ErrorDump) {
    common::State().procedureId = "Main";
    common::State().functionId = " ";
    common::State().context.processName = "株価時系列";
    common::State().errStep = "Print";
    const platform::TrappedError error(11, "0 で除算しました。", "Mirelda");
    common::LogProcIdxLine("ＶＢエラーを検出しました。　", 16, "", 21, error);

    const std::string log = ErrorLog();
    const char* expected[] = {
        ",,E0:ErrApl ,00,ＶＢエラーを検出しました。　\r\n",
        ",00,　　Err.Msg   =0 で除算しました。\r\n",
        ",00,　　Err.Src   =Mirelda\r\n",
        ",00,　　ExecProcNm=株価時系列\r\n",
        ",00,　　ExecProcID=\r\n",
        ",00,　　MyID      =********\r\n",
        ",00,　　ProcID    =Main\r\n",
        ",00,　　FuncID    =********\r\n",
        ",00,　　ErrFName=\r\n",
        ",00,　　ErrFileNum=0\r\n",
        ",00,　　ErrStep=Print\r\n",
        ",00,　　ProcIdx   =21\r\n",
    };
    std::size_t at = 0;
    for (const char* piece : expected) {
        const std::size_t found = log.find(piece, at);
        ASSERT_NE(found, std::string::npos) << piece;
        at = found;
    }
}

}  // namespace
