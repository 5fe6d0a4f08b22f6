// The company and report run's states and steps in process, without children.
#include "collect/company_pages/company_report_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "marketdata/code_master.h"
#include "platform/utf8_text.h"
#include "tests/collect/split_run_files.h"

namespace {

namespace fs = std::filesystem;
using collect_test::kFatal;
using collect_test::kNoCompany;

constexpr long kProfileResults = 1007;

// The company information of Japan (process 51) as the parent's run.
class CompanyReportRun : public collect_test::SplitRunFiles {
protected:
    CompanyReportRun() : SplitRunFiles(5, 1, 0, 0) { InstallPump(ui.pump); }

    // A result line of the company: results lead with the company's key.
    static std::string ResultLine(const std::string& code, const std::string& value) {
        marketdata::CdmRec rec = Company(code);
        std::string line;
        marketdata::CdmRecToLine(rec, line);
        return line + "\t" + value;
    }
    std::vector<std::string> Lines(long fileNumber, long procIdx, long sequence, const std::string& extension) {
        std::vector<std::string> lines;
        common::CFFIL21M(DataPath(fileNumber, procIdx, sequence, extension), lines);
        return lines;
    }
};

TEST_F(CompanyReportRun, StepListHasFiveStepsOrSevenForTheResearchProvider) {
    common::MSGRec msg;
    msg.ProgressForm = &forms->view;
    collect::ShowCollectionSteps(msg, "04");
    EXPECT_EQ(forms->view.caption, "企業情報（国内） の収集");
    EXPECT_EQ(msg.LabelText1,
              "■　企業情報（国内） の収集準備\r\n■　企業情報（国内） の収集\r\n■　企業情報（国内） の収集後処理\r\n"
              "　⇒コードマスター の更新\r\n□　企業情報（国内） の更新\r\n");

    common::SetProcessContext(7, 1);
    collect::ShowCollectionSteps(msg, "06");
    EXPECT_EQ(msg.LabelText1,
              "■　ロイター業種 の収集準備\r\n■　ロイター業種 の収集\r\n■　ロイター業種 の収集後処理\r\n"
              "■　コードマスター の更新\r\n■　ロイター業種 の更新\r\n　⇒ロイター業種の付与\r\n"
              "□　ロイター業種の抽出\r\n");
}

// A finished run starts afresh (without companies it stops at step 01); a
// status or step the run cannot hold is the fatal control error, logged with
// both values; a step beyond the kind's five is one of them.
TEST_F(CompanyReportRun, ControlRecordDecidesWhereTheRunBegins) {
    SetCtr("Z", "05");
    collect::ACORP00M();
    ASSERT_EQ(ui.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui.presenter->boxes[0].text, kNoCompany);
    EXPECT_EQ(Ctr().Status + Ctr().Step, "B01");

    struct Case {
        const char* status;
        const char* step;
    };
    for (const Case c : {Case{"B", "08"}, Case{"X", "02"}, Case{"S", "06"}}) {
        SCOPED_TRACE(std::string(c.status) + c.step);
        ui.presenter->boxes.clear();
        SetCtr(c.status, c.step);
        collect::ACORP00M();
        ASSERT_EQ(ui.presenter->boxes.size(), 1u);
        EXPECT_EQ(ui.presenter->boxes[0].text.rfind(kFatal, 0), 0u);
        EXPECT_NE(ReadLog(common::State().errorLogPath)
                      .find(std::string("  CtrRec.Status=") + c.status + "  CtrRec.Step=" + c.step),
                  std::string::npos);
        EXPECT_EQ(Ctr().Status + Ctr().Step, std::string(c.status) + c.step);
    }
}

// Step 02 makes every part whole before the children run, a failed one too:
// its finished companies and their results are folded in, not thrown away.
TEST_F(CompanyReportRun, ResumeAtStep02FoldsEveryPartsWork) {
    SetCtr("B", "02");
    WriteTasks({"E"});
    WriteList(process, 1, "", {Company("1301"), Company("7203")});
    marketdata::CdmRec done = Company("1301");
    done.Key.Flag1 = "0";
    WriteList(process, 1, ".tmp", {done});
    common::CFFIL30M(std::vector<std::string>{ResultLine("1301", "profile")},
                     DataPath(kProfileResults, process, 1, ".tmp"));
    InstallPump(std::make_shared<testsupport::CallbackPump>([] { common::State().CancelRequested = true; }));

    collect::ACORP00M();

    const marketdata::CdmTbl list = List(process, 1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Key.Flag1, "0");
    const std::vector<std::string> results = Lines(kProfileResults, process, 1, "");
    ASSERT_EQ(results.size(), 1u);
    EXPECT_TRUE(results[0].ends_with("\tprofile"));
    ASSERT_EQ(ui.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui.presenter->boxes[0].text, "企業情報（国内）の収集を中断します。　");
    EXPECT_EQ(Ctr().Step, "02");
}

// A run that stopped in step 04, after the task files were gone, resumes
// there: the gathered company records go into the code master, the results
// into the result master, and the run ends.
TEST_F(CompanyReportRun, ResumeAtStep04AfterACrashFinishesTheRun) {
    WriteList(0, 0, "", {Company("1301"), Company("7203")});
    marketdata::CdmRec updated = Company("7203");
    updated.Key.Flag1 = "0";
    updated.InfoText[139 - 133] = "100";
    WriteList(0, 0, ".tmp", {updated});  // what step 03 gathered
    WriteList(process, 1, "", {updated});
    common::CFFIL30M(std::vector<std::string>{ResultLine("7203", "new")}, DataPath(kProfileResults, 0, 0, ".tmp"));
    common::CFFIL30M(std::vector<std::string>{ResultLine("7203", "new")}, DataPath(kProfileResults, process, 1, ""));
    common::CFFIL30M(std::vector<std::string>{ResultLine("1301", "old"), ResultLine("7203", "old")},
                     DataPath(kProfileResults, 0, 0, ""));
    SetCtr("B", "04");

    collect::ACORP00M();

    EXPECT_TRUE(ui.presenter->boxes.empty());
    EXPECT_EQ(Ctr().Status, "Z");
    const marketdata::CdmTbl master = List(0, 0);
    ASSERT_EQ(master.size(), 2u);
    EXPECT_EQ(master[1].InfoText[139 - 133], "100");
    const std::vector<std::string> results = Lines(kProfileResults, 0, 0, "");
    ASSERT_EQ(results.size(), 2u);
    EXPECT_TRUE(results[0].ends_with("\told"));
    EXPECT_TRUE(results[1].ends_with("\tnew"));
    EXPECT_FALSE(fs::exists(DataPath(1, process, 1, "")));
    EXPECT_FALSE(fs::exists(DataPath(kProfileResults, process, 1, "")));
    EXPECT_FALSE(fs::exists(DataPath(kProfileResults, 0, 0, ".tmp")));
}

}  // namespace
