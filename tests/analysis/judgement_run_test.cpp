#include "analysis/judgement_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "analysis/batch_runner.h"
#include "analysis/judge_record_io.h"
#include "analysis/judge_result_file.h"
#include "analysis/part_results.h"
#include "marketdata/split_run_frame.h"
#include "common/startup/batch_request.h"
#include "common/settings/settings.h"
#include "common/tasks/task_files.h"
#include "common/files/text_file_write.h"
#include "marketdata/code_master.h"
#include "marketdata/key.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"
#include "tests/analysis/judgement_run_fixture.h"
#include "tests/support/judgement_market.h"

namespace {

namespace fs = std::filesystem;
using analysis_test::JudgementRunTest;

constexpr const char* kNoCompany =
    "処理対象の企業が存在しません。　\r\n\r\n"
    "ご不便をお掛けして、大変申し訳ございません。　\r\n"
    "企業一覧の収集、または「その他の機能」のコードマスターの初期化を行ってから再実行して下さい。　\r\n\r\n"
    "それでも同様のエラーが発生する場合は、お手数をお掛けしますが、　\r\n"
    "開発者へ連絡をお願い致します。　\r\n";
constexpr const char* kFatal = "アプリケーションエラー（制御情報の致命的エラー）　";
constexpr const char* kNoControl = "アプリケーションエラー（制御情報が存在しません）　";

// Sets the cancel flag whenever the event loop is served.
class CancellingPump : public common::EventPump {
public:
    void ProcessEvents() override { common::State().CancelRequested = true; }
};

class JudgementRun : public JudgementRunTest {
protected:
    // The step codes the run log shows started, in order.
    std::vector<std::string> StepsStarted() const {
        std::vector<std::string> steps;
        const std::string log = RunLog();
        const std::string mark = "AKAGI00M_Step";
        for (std::size_t at = log.find(mark); at != std::string::npos; at = log.find(mark, at + 1)) {
            steps.push_back(log.substr(at + mark.size(), 2));
        }
        return steps;
    }

    // The run log ends with the run's end line and the form is unloaded.
    void ExpectEnded() const {
        const std::string log = RunLog();
        const std::string end = "AKAGI00M,30:End    ,00,AKAGI00M End   : 罫線・鉤足（国内）\r\n";
        ASSERT_GE(log.size(), end.size());
        EXPECT_EQ(log.substr(log.size() - end.size()), end);
        EXPECT_TRUE(forms->loaded.empty());
    }

    // A task-control record of `count` parts and the detail record of each.
    void WriteTasks(const std::vector<std::string>& statuses) {
        common::TSCRec control;
        common::InitTaskControlRec(kProcess, static_cast<long>(statuses.size()), env, control);
        control.SlotCount = 1;
        common::CFTSC50M(kProcess, "", env, control);
        for (std::size_t i = 0; i < statuses.size(); ++i) {
            common::TSDRec task;
            common::InitTaskDetailRec(kProcess, static_cast<long>(i + 1), env, control, task);
            task.TaskSlot = 1;
            task.TaskStatus = statuses[i];
            common::CFTSD50M(kProcess, static_cast<long>(i + 1), env, task);
        }
    }
};

TEST_F(JudgementRun, StepListMarksDoneCurrentAndComingLines) {
    common::MSGRec msg;
    msg.ProgressForm = &forms->view;
    analysis::ShowRunSteps(msg, "03");
    EXPECT_EQ(forms->view.caption, "罫線・鉤足（国内） の判定");
    EXPECT_EQ(msg.LabelText1,
              "■　鉤足判定の準備\r\n■　分割処理の準備\r\n■　鉤足判定処理の開始\r\n　⇒コードマスターの集約\r\n"
              "□　コードマスターの出力\r\n□　分析情報の作成\r\n□　鉤足判定結果の集約\r\n"
              "□　鉤足判定結果のソート\r\n□　鉤足転換結果の集計\r\n□　終了処理\r\n");
    analysis::ShowRunSteps(msg, "00");
    EXPECT_EQ(msg.LabelText1.substr(0, msg.LabelText1.find("\r\n")), "　⇒鉤足判定の準備");
}

// Every idle status, and "B" stopped before step 01, starts a new run; with no
// company to judge it stops at step 01 with the warning, resumable there.
TEST_F(JudgementRun, IdleStatusStartsANewRunThatStopsAtStep01WithoutCompanies) {
    const std::pair<std::string, std::string> records[] = {
        {"Z", "00"}, {"0", "05"}, {"C", "00"}, {" ", "  "}, {std::string(1, '\0'), "07"}, {"B", "00"}};
    for (const auto& [status, step] : records) {
        SCOPED_TRACE("status " + status + " step " + step);
        fs::remove(common::State().runLogPath);
        ui.presenter->boxes.clear();
        SetCtr(status, step);

        EXPECT_FALSE(analysis::AKAGI00M());

        ASSERT_EQ(ui.presenter->boxes.size(), 1u);
        EXPECT_EQ(ui.presenter->boxes[0].style, 48);
        EXPECT_EQ(ui.presenter->boxes[0].text, kNoCompany);
        const common::CtrRec ctr = Ctr();
        EXPECT_EQ(ctr.Status, "B");
        EXPECT_EQ(ctr.Step, "01");
        EXPECT_NE(ctr.StartDate, 0);
        EXPECT_EQ(StepsStarted(), std::vector<std::string>{"01"});
        EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Step"), "01");
        ExpectEnded();
    }
    EXPECT_EQ(common::State().procedureId, "AKAGI00M");
}

TEST_F(JudgementRun, UnknownStatusOrStepIsTheFatalControlError) {
    const std::pair<std::string, std::string> records[] = {{"X", "02"}, {"B", "10"}, {"S", "  "}, {"S", "2 "}};
    for (const auto& [status, step] : records) {
        SCOPED_TRACE("status " + status + " step " + step);
        fs::remove(common::State().errorLogPath);
        ui.presenter->boxes.clear();
        SetCtr(status, step);

        EXPECT_FALSE(analysis::AKAGI00M());

        const std::string errors = ErrorLog();
        EXPECT_NE(errors.find(std::string("AKAGI00M,E0:ErrApl ,01,") + kFatal + "\r\n"), std::string::npos);
        EXPECT_NE(errors.find("AKAGI00M,E0:ErrApl ,01,  CtrRec.Status=" + status + "  CtrRec.Step=" + step +
                              "\r\n"),
                  std::string::npos);
        ASSERT_EQ(ui.presenter->boxes.size(), 1u);
        EXPECT_EQ(ui.presenter->boxes[0].style, 48);
        EXPECT_EQ(ui.presenter->boxes[0].text.rfind(kFatal, 0), 0u);
        EXPECT_EQ(Ctr().Status, status);
        EXPECT_EQ(Ctr().Step, step);
        EXPECT_TRUE(StepsStarted().empty());
        ExpectEnded();
    }
}

// Without its task-control record the step that needs it stops the run with
// the reset advice, and stays recorded for the resume.
TEST_F(JudgementRun, MissingTaskControlRecordStopsAtItsStep) {
    for (const char* step : {"02", "03"}) {
        SCOPED_TRACE(step);
        fs::remove(common::State().runLogPath);
        ui.presenter->boxes.clear();
        SetCtr("S", step);

        EXPECT_FALSE(analysis::AKAGI00M());

        ASSERT_EQ(ui.presenter->boxes.size(), 1u);
        EXPECT_EQ(ui.presenter->boxes[0].style, 16);
        EXPECT_EQ(ui.presenter->boxes[0].text.rfind(kNoControl, 0), 0u);
        EXPECT_NE(ErrorLog().find("ProcIdx   =21"), std::string::npos);
        EXPECT_EQ(Ctr().Status, "S");
        EXPECT_EQ(Ctr().Step, step);
        EXPECT_EQ(StepsStarted(), std::vector<std::string>{step});
        ExpectEnded();
    }
}

// "S" at step 02: every part is made whole before the controller runs, a
// failed one too (its finished company kept, the results of the company it
// died on dropped); a cancel there shows the box once, gathers the parts'
// logs and leaves the run at step 02.
TEST_F(JudgementRun, SuspendedAtStep02RecoversPartsAndACancelLeavesItThere) {
    SetCtr("S", "02");
    WriteTasks({"E", "Z"});
    marketdata::CdmTbl failed{testsupport::MarketCompany("1301"), testsupport::MarketCompany("6758")};
    for (marketdata::CdmRec& rec : failed) rec.Key.Flag1 = "1";
    marketdata::WriteCodeMaster(1, kProcess, 1, "", "", 2, env, failed);
    marketdata::CdmTbl finished{failed[0]};
    finished[0].Key.Flag1 = "0";
    marketdata::WriteCodeMaster(1, kProcess, 1, "", ".tmp", 1, env, finished);
    std::vector<analysis::KagiJudgeRec> results(2);
    results[0].Key = failed[0].Key;
    results[1].Key = failed[1].Key;
    const std::string failedResults = analysis::PartResultPath(env, kProcess, 1, "JPN");
    analysis::AppendJudgeRecords(failedResults, results);
    // The finished part: its list and a pending rewrite of it.
    marketdata::CdmTbl part{testsupport::MarketCompany("7203")};
    marketdata::WriteCodeMaster(1, kProcess, 2, "", "", 1, env, part);
    part[0].Attr5 = "2";
    marketdata::WriteCodeMaster(1, kProcess, 2, "", ".tmp", 1, env, part);
    const std::string partLog = DataPath(3, kProcess, 2, "");
    common::CFFIL30M(std::vector<std::string>{"part two was here"}, partLog);
    InstallUi(std::make_shared<CancellingPump>());

    EXPECT_FALSE(analysis::AKAGI00M());

    EXPECT_EQ(testsupport::ReadBytes(failedResults), analysis::JudgeRecordBytes({results.data(), 1}));
    EXPECT_FALSE(fs::exists(marketdata::PartWorkFilePath(env, kProcess, 1)));
    ASSERT_EQ(ui.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui.presenter->boxes[0].text, "罫線・鉤足（国内）の判定処理を中断します。　");
    EXPECT_EQ(ui.presenter->boxes[0].style, 48);
    EXPECT_EQ(Ctr().Status, "S");
    EXPECT_EQ(Ctr().Step, "02");
    EXPECT_EQ(StepsStarted(), std::vector<std::string>{"02"});
    marketdata::CdmTbl folded;
    marketdata::CFCDM10M(1, kProcess, 2, "", "", "", "", env, common::SortKeyRec{}, folded);
    ASSERT_EQ(folded.size(), 1u);
    EXPECT_EQ(folded[0].Attr5, "2");
    EXPECT_FALSE(fs::exists(marketdata::PartWorkFilePath(env, kProcess, 2)));
    EXPECT_FALSE(fs::exists(partLog));
    EXPECT_NE(RunLog().find("part two was here"), std::string::npos);
    common::TSDRec task;
    ASSERT_TRUE(common::CFTSD10M(102, "", kProcess, 1, "", env, task));
    EXPECT_EQ(task.TaskStatus, "E");  // not restarted after the cancel
    ExpectEnded();
}

// A child killed while writing a company's line leaves the line cut short:
// it is cut off before the list takes in the judged lines, and the company
// stays to be judged.
TEST_F(JudgementRun, LineCutShortByAKilledChildNeverReachesThePartList) {
    SetCtr("S", "02");
    WriteTasks({"S"});
    marketdata::CdmTbl listed{testsupport::MarketCompany("1301"), testsupport::MarketCompany("7203")};
    for (marketdata::CdmRec& rec : listed) rec.Key.Flag1 = "1";
    marketdata::WriteCodeMaster(1, kProcess, 1, "", "", 2, env, listed);
    std::string judged;
    std::string cutShort;
    listed[0].Key.Flag1 = "0";
    listed[0].Attr5 = "1";
    marketdata::CdmRecToLine(listed[0], judged);
    listed[1].Key.Flag1 = "0";
    listed[1].Attr5 = "2";
    marketdata::CdmRecToLine(listed[1], cutShort);
    testsupport::WriteBytes(marketdata::PartWorkFilePath(env, kProcess, 1),
                            platform::ToCp932(judged + "\r\n" + cutShort.substr(0, cutShort.size() / 2)).bytes);
    InstallUi(std::make_shared<CancellingPump>());

    EXPECT_FALSE(analysis::AKAGI00M());

    marketdata::CdmTbl folded;
    marketdata::CFCDM10M(1, kProcess, 1, "", "", "", "", env, common::SortKeyRec{}, folded);
    ASSERT_EQ(folded.size(), 2u);
    EXPECT_EQ(folded[0].Key.Flag1, "0");
    EXPECT_EQ(folded[0].Attr5, "1");
    EXPECT_EQ(folded[1].Key.Flag1, "1");
    EXPECT_EQ(platform::TrimBlanks(folded[1].Attr5), "");
    EXPECT_EQ(ErrorLog().find("7203"), std::string::npos) << ErrorLog();
}

// "B" at step 07 skips the earlier steps (no task-control record needed past
// step 03) and the end removes the task files and marks the run complete.
TEST_F(JudgementRun, ResumeAtStep07GoesStraightToTheSort) {
    WriteTasks({"Z"});
    SetCtr("B", "07");

    EXPECT_TRUE(analysis::AKAGI00M());

    EXPECT_EQ(StepsStarted(), (std::vector<std::string>{"07", "08", "09"}));
    EXPECT_EQ(Ctr().Status, "Z");
    EXPECT_EQ(Ctr().Step, "00");
    EXPECT_FALSE(fs::exists(DataPath(100, kProcess, 0, "")));
    EXPECT_FALSE(fs::exists(DataPath(102, kProcess, 1, "")));
    EXPECT_TRUE(ui.presenter->boxes.empty());
    ExpectEnded();
}

// Step 03 gathers the part lists without deleting them, so a repeat of it
// after a crash finds them again; step 04 folds the gathered lines into the
// code master and only then are the part lists gone.
TEST_F(JudgementRun, GatheringThePartListsIsRepeatableUntilStep04) {
    WriteTasks({"Z", "Z"});
    marketdata::CdmTbl first{testsupport::MarketCompany("1301")};
    marketdata::CdmTbl second{testsupport::MarketCompany("7203")};
    first[0].Attr5 = "1";
    second[0].Attr5 = "2";
    marketdata::WriteCodeMaster(1, 0, 0, "", "", 1, env, first);
    marketdata::WriteCodeMaster(1, kProcess, 1, "", "", 1, env, first);
    marketdata::WriteCodeMaster(1, kProcess, 2, "", "", 1, env, second);
    // A gathered file left by an earlier try of step 03 is written afresh.
    testsupport::WriteBytes(DataPath(1, 0, 0, ".tmp"), "stale\r\n");
    SetCtr("B", "03");
    // What a crash at the start of step 04, before it is recorded, would leave.
    bool seenBeforeStep04 = false;
    InstallUi(std::make_shared<testsupport::CallbackPump>([&] {
        if (forms->view.label.find("　⇒コードマスターの出力") == std::string::npos || seenBeforeStep04) return;
        seenBeforeStep04 = true;
        EXPECT_EQ(Ctr().Step, "03");
        EXPECT_TRUE(fs::exists(DataPath(1, kProcess, 1, "")));
        EXPECT_TRUE(fs::exists(DataPath(1, kProcess, 2, "")));
        EXPECT_EQ(platform::FromCp932(testsupport::ReadBytes(DataPath(1, 0, 0, ".tmp"))).text.find("stale"),
                  std::string::npos);
    }));

    EXPECT_TRUE(analysis::AKAGI00M());

    EXPECT_TRUE(seenBeforeStep04);
    EXPECT_EQ(StepsStarted(), (std::vector<std::string>{"03", "04", "05", "06", "07", "08", "09"}));
    marketdata::CdmTbl master;
    marketdata::CFCDM10M(1, 0, 0, "", "", "", "", env, common::SortKeyRec{}, master);
    ASSERT_EQ(master.size(), 2u);
    EXPECT_EQ(master[0].Attr5, "1");
    EXPECT_EQ(master[1].Attr5, "2");
    EXPECT_FALSE(fs::exists(DataPath(1, kProcess, 1, "")));
    EXPECT_FALSE(fs::exists(DataPath(1, kProcess, 2, "")));
    EXPECT_FALSE(fs::exists(DataPath(1, 0, 0, ".tmp")));
    EXPECT_EQ(ErrorLog(), "");
}

// A step that fails with a run-time error is not passed: the run stays at it
// with its inputs, and the batch reports the abnormal end and leaves the
// resume offer.
TEST_F(JudgementRun, StepEndingInARunTimeErrorStaysRecordedForTheResume) {
    WriteTasks({"Z"});
    marketdata::CdmTbl part{testsupport::MarketCompany("7203")};
    marketdata::WriteCodeMaster(1, kProcess, 1, "", "", 1, env, part);
    SetCtr("B", "03");
    common::BatchRequestTable table;
    table.cell(1, 6) = 1;
    common::WriteSetting("MirControl\\Common\\Batch", common::EncodeBatchRequest(table));
    // The error strikes in the middle of step 03, past its step list.
    int gatherShown = 0;
    InstallUi(std::make_shared<testsupport::CallbackPump>([&] {
        if (forms->view.label.find("　⇒コードマスターの集約") == std::string::npos) return;
        if (++gatherShown == 2) throw platform::TrappedError(57, "デバイス I/O エラーです。", "test");
    }));

    EXPECT_THROW(analysis::RunBatch(), testsupport::ProgramEnded);

    EXPECT_EQ(Ctr().Status, "B");
    EXPECT_EQ(Ctr().Step, "03");
    EXPECT_EQ(StepsStarted(), std::vector<std::string>{"03"});
    EXPECT_TRUE(fs::exists(DataPath(1, kProcess, 1, "")));
    const std::string log = RunLog();
    const std::size_t end = log.find("AKAGI00M End   : 罫線・鉤足（国内）");
    const std::size_t abend = log.find("AKAGI00M,99:ABEND  ,00,AKAGI00M End(Abnormal)  : 罫線・鉤足（国内）");
    ASSERT_NE(end, std::string::npos);
    ASSERT_NE(abend, std::string::npos);
    EXPECT_LT(end, abend);
    EXPECT_TRUE(forms->loaded.empty());
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "1");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Batch"), common::EncodeBatchRequest(table));
}

class JudgementBatch : public JudgementRun {
protected:
    // Group 6: item 1 Japan, item 2 the United States, item 3 China.
    static std::string Request(std::initializer_list<int> items) {
        common::BatchRequestTable table;
        for (int item : items) table.cell(item, 6) = 1;
        return common::EncodeBatchRequest(table);
    }
    std::string Batch() { return common::ReadSetting("MirControl\\Common\\Batch"); }
};

TEST_F(JudgementBatch, RunsJapanThenChinaAndClearsTheirRequests) {
    common::WriteSetting("MirControl\\Common\\Batch", Request({1, 3}));
    for (long process : {21L, 22L, 23L}) SetCtr("B", "09", process);

    analysis::RunBatch();

    const std::string log = RunLog();
    const std::size_t japan = log.find("AKAGI00M Start : 罫線・鉤足（国内）");
    const std::size_t china = log.find("AKAGI00M Start : 罫線・鉤足（中国）");
    ASSERT_NE(japan, std::string::npos);
    ASSERT_NE(china, std::string::npos);
    EXPECT_LT(japan, china);
    EXPECT_EQ(Ctr(21).Status, "Z");
    EXPECT_EQ(Ctr(22).Status, "Z");
    EXPECT_EQ(Ctr(23).Status, "B");  // the United States was not requested
    EXPECT_EQ(Batch(), Request({}));
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ProcName"), "");
}

TEST_F(JudgementBatch, CancelStopsTheBatchWithTheRestStillRequested) {
    common::WriteSetting("MirControl\\Common\\Batch", Request({1, 3}));
    SetCtr("S", "02", 21);
    WriteTasks({"Z"});
    SetCtr("B", "09", 22);
    InstallUi(std::make_shared<CancellingPump>());

    analysis::RunBatch();

    EXPECT_EQ(ui.presenter->boxes.size(), 1u);
    EXPECT_EQ(Ctr(22).Status, "B");
    EXPECT_EQ(Batch(), Request({1, 3}));
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\ProcId"), "AKAGI000");
    EXPECT_FALSE(common::State().CancelRequested);
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Exec"), "");
}

// A run that stopped on an error stays requested for the resume; the batch
// goes on with the next country.
TEST_F(JudgementBatch, RunStoppedByAnErrorStaysRequested) {
    common::WriteSetting("MirControl\\Common\\Batch", Request({1, 3}));
    SetCtr("X", "02", 21);
    SetCtr("B", "09", 22);

    analysis::RunBatch();

    EXPECT_EQ(Ctr(21).Status, "X");
    EXPECT_EQ(Ctr(22).Status, "Z");
    EXPECT_EQ(Batch(), Request({1}));
}

}  // namespace
