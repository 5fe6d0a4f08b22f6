// The price-history run in process: the child's part collector on a loopback
// price site, the run's control paths and steps without children, and the
// date tool.
#include "collect/prices/price_history_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "collect/prices/price_history_dates.h"
#include "collect/prices/price_history_part.h"
#include "common/files/data_file.h"
#include "common/files/text_file_read.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/settings/settings.h"
#include "common/settings/system_state_file.h"
#include "common/startup/process_context.h"
#include "common/startup/run_env.h"
#include "common/tasks/ctr_file.h"
#include "common/tasks/task_files.h"
#include "common/tasks/waits.h"
#include "marketdata/code_master.h"
#include "marketdata/key.h"
#include "marketdata/name_index.h"
#include "marketdata/price_series.h"
#include "marketdata/split_run_frame.h"
#include "platform/cp932.h"
#include "platform/date.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"
#include "tests/collect/split_run_files.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/price_site.h"
#include "tests/support/program_folder.h"
#include "tests/support/trapped.h"

namespace {

namespace fs = std::filesystem;
using platform::Date;
using testsupport::PriceLine;
using collect_test::kFatal;
using collect_test::kNoCompany;
using collect_test::kNoControl;

constexpr long kProcess = 11;
constexpr Date kToDate{2026, 12, 4};
constexpr const char* kDupFlag = "MirControl\\HpGet\\HpDupSts";
constexpr const char* kSplitFlag = "MirControl\\HpGet\\HpSplit";

// The child of part 1, collecting from the loopback site.
class PriceHistoryPart : public collect_test::SplitRunFiles {
protected:
    PriceHistoryPart() : SplitRunFiles(1, 1, kProcess, 1) {
        common::SetWaitScaleForTests(0.01f);
        site.UseAsPriceSites();
        WriteTasks({"0"});
        common::SystemStateRec settings;
        settings.Candle = "A";
        settings.PeriodMode = "1";
        settings.ToDate = platform::DateText(kToDate);
        settings.BackupFlag = "0";
        common::WriteSystemStateFile(env, settings);
    }
    ~PriceHistoryPart() override { common::SetWaitScaleForTests(1.0f); }

    void CollectPart() {
        common::MSGRec msg;
        EXPECT_TRUE(collect::AHPJP30M(1, "", env, msg, task));
    }

    // Columns 0-6 of the stock's series of the candle.
    std::vector<PriceLine> Series(const std::string& code, const std::string& candle) {
        std::vector<marketdata::PriceRec> rows;
        marketdata::LoadPriceSeries(marketdata::kPriceSeriesFileNumber, env, Company(code).Key, candle, "", ".txt",
                                    rows);
        std::vector<PriceLine> lines;
        for (const marketdata::PriceRec& row : rows) {
            PriceLine& line = lines.emplace_back();
            for (std::size_t c = 0; c < line.size(); ++c) line[c] = row.Text[c];
        }
        return lines;
    }

    std::vector<marketdata::CdmRec> WorkRecords() {
        std::vector<std::string> lines;
        common::CFFIL21M(marketdata::PartWorkFilePath(env, kProcess, 1), lines);
        std::vector<marketdata::CdmRec> recs(lines.size());
        std::string problem;
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(marketdata::LineToCdmRec(lines[i], recs[i], problem));
        return recs;
    }

    // The status of the part's end report, "" when there is none.
    std::string EndReport() {
        common::TSDRec report;
        return common::CFTSD10M(114, "", kProcess, 1, "S", env, report) ? report.TaskStatus : "";
    }

    testsupport::PriceSite site;
};

// With the candle setting "A" every company gets its weekly, monthly and
// daily series, and its record, stamped and flagged done, describes the daily one.
TEST_F(PriceHistoryPart, CollectsEveryCandleAndRecordsTheDailySeries) {
    const Date first{2026, 6, 1};  // a Monday and the 1st: every candle's first row
    const std::vector<std::string> codes{"1301", "7203"};
    for (const std::string& code : codes) site.AddStock("JPN", code, first, kToDate);
    WriteList(kProcess, 1, "", {Company(codes[0]), Company(codes[1])});
    const std::string today = platform::DateText(platform::Now().date);

    CollectPart();

    for (const std::string& code : codes) {
        SCOPED_TRACE(code);
        for (const char candle : {'W', 'M', 'D'}) {
            EXPECT_EQ(Series(code, std::string(1, candle)), site.ExpectedRows("JPN", code, candle, first, kToDate))
                << candle;
        }
    }
    const std::vector<marketdata::CdmRec> done = WorkRecords();
    ASSERT_EQ(done.size(), 2u);
    for (std::size_t i = 0; i < done.size(); ++i) {
        EXPECT_EQ(platform::TrimBlanks(done[i].Key.CorpCode), codes[i]);
        EXPECT_EQ(done[i].Key.Flag1, "0");
        EXPECT_EQ(done[i].ProcMark[1].MarkDate, today);
        EXPECT_EQ(done[i].ProcMark[1].MarkTime.size(), 8u);
        EXPECT_EQ(done[i].Term[1].FirstDate, site.ExpectedRows("JPN", codes[i], 'D', first, kToDate).front()[0]);
        EXPECT_EQ(done[i].Term[1].LastDate, "2026/12/04");
    }
    EXPECT_EQ(EndReport(), "Z");
    EXPECT_EQ(site.Violations(), std::vector<std::string>{});
}

// A candle setting the settings screen never wrote collects the daily series.
TEST_F(PriceHistoryPart, BlankCandleCollectsTheDailySeries) {
    const Date first{2026, 11, 2};
    site.AddStock("JPN", "1301", first, kToDate);
    WriteList(kProcess, 1, "", {Company("1301")});
    common::SystemStateRec settings;
    common::ReadSystemStateFile(env, settings);
    settings.Candle = " ";
    common::WriteSystemStateFile(env, settings);

    CollectPart();

    EXPECT_EQ(Series("1301", "D"), site.ExpectedRows("JPN", "1301", 'D', first, kToDate));
    EXPECT_EQ(EndReport(), "Z");
    EXPECT_EQ(site.Violations(), std::vector<std::string>{});
}

// A part that failed after finishing a company keeps that company: it is
// folded into the list and not fetched again.
TEST_F(PriceHistoryPart, FailedPartKeepsTheCompaniesItFinished) {
    const Date first{2026, 11, 2};
    site.AddStock("JPN", "1301", first, kToDate);
    site.AddStock("JPN", "7203", first, kToDate);
    WriteList(kProcess, 1, "", {Company("1301"), Company("7203")});
    marketdata::CdmRec finished = Company("1301");
    finished.Key.Flag1 = "0";
    finished.Term[1] = {"2026/11/02", "2026/12/04"};
    WriteList(kProcess, 1, ".tmp", {finished});
    task.TaskStatus = "E";
    common::CFTSD50M(kProcess, 1, env, task);

    CollectPart();

    EXPECT_EQ(site.Requests("JPN", "1301"), 0);
    EXPECT_GT(site.Requests("JPN", "7203"), 0);
    const std::vector<marketdata::CdmRec> done = WorkRecords();
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(platform::TrimBlanks(done[0].Key.CorpCode), "7203");
    const marketdata::CdmTbl list = List(kProcess, 1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Key.Flag1, "0");
    EXPECT_EQ(list[0].Term[1].LastDate, "2026/12/04");
    EXPECT_EQ(EndReport(), "Z");
}

// A page the child cannot store (a full disk) is the part's failure, not the
// site's: the error leaves the collector at the first attempt, no company is
// recorded as done, and the part's next start collects them.
TEST_F(PriceHistoryPart, PageThatCannotBeStoredFailsThePart) {
    const Date first{2024, 1, 1};  // weekly pages of 50 rows, larger than the files may grow
    site.AddStock("JPN", "1301", first, kToDate);
    WriteList(kProcess, 1, "", {Company("1301")});
    std::optional<platform::TrappedError> error;
    {
        testsupport::FileSizeLimit limit(3000);
        error = testsupport::CaughtError([&] { CollectPart(); });
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), platform::error_number::kDiskFull);
    EXPECT_EQ(site.Requests("JPN", "1301"), 1);
    EXPECT_TRUE(WorkRecords().empty());

    CollectPart();
    EXPECT_EQ(Series("1301", "D"), site.ExpectedRows("JPN", "1301", 'D', first, kToDate));
    EXPECT_EQ(WorkRecords().size(), 1u);
}

TEST_F(PriceHistoryPart, CancelLeavesThePartSuspendedWithNothingWritten) {
    site.AddStock("JPN", "7203", {2026, 11, 2}, kToDate);
    WriteList(kProcess, 1, "", {Company("7203")});
    common::WriteSetting("MirControl\\Common\\Cancel", "1");

    CollectPart();

    EXPECT_TRUE(WorkRecords().empty());
    EXPECT_TRUE(Series("7203", "W").empty());
    EXPECT_EQ(EndReport(), "S");
}

// The parent run of process 11 with a recording progress form.
class PriceHistoryRun : public collect_test::SplitRunFiles {
protected:
    PriceHistoryRun() : SplitRunFiles(1, 1, 0, 0) { InstallPump(ui.pump); }

    void SetEventFlags(const std::string& value) {
        common::WriteSetting(kDupFlag, value);
        common::WriteSetting(kSplitFlag, value);
    }
    std::string EventFlags() { return common::ReadSetting(kDupFlag) + common::ReadSetting(kSplitFlag); }
};

TEST_F(PriceHistoryRun, StepListMarksDoneCurrentAndComingSteps) {
    common::MSGRec msg;
    msg.ProgressForm = &forms->view;

    collect::ShowPriceCollectionSteps(msg, "02");

    EXPECT_EQ(forms->view.caption, "株価時系列データ（国内）を収集中");
    EXPECT_EQ(msg.LabelText1,
              "■　株価時系列データ（国内） の収集準備\r\n"
              "　⇒株価時系列データ（国内） の収集\r\n"
              "□　株価時系列データ（国内） の収集後処理\r\n"
              "□　コードマスター の更新\r\n");
}

// A new run clears the event flags; without companies it stops at step 01.
TEST_F(PriceHistoryRun, NewRunWithoutCompaniesResetsTheFlagsAndStopsAtStep01) {
    SetCtr("Z", "00");
    SetEventFlags("1");

    EXPECT_FALSE(collect::AHPJP00M());

    ASSERT_EQ(ui.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui.presenter->boxes[0].text, kNoCompany);
    EXPECT_EQ(ui.presenter->boxes[0].style, 48);
    EXPECT_EQ(Ctr().Status, "B");
    EXPECT_EQ(Ctr().Step, "01");
    EXPECT_EQ(EventFlags(), "00");
    EXPECT_TRUE(forms->loaded.empty());
    EXPECT_NE(ReadLog(common::State().runLogPath).find("AHPJP00M End   : 株価時系列データ（国内）"),
              std::string::npos);
}

// A resume keeps what the earlier legs flagged; without the task-control
// record it stops where it was.
TEST_F(PriceHistoryRun, ResumeWithoutTaskControlKeepsFlagsAndStep) {
    SetCtr("S", "03");
    SetEventFlags("1");

    EXPECT_FALSE(collect::AHPJP00M());

    ASSERT_EQ(ui.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui.presenter->boxes[0].text.rfind(kNoControl, 0), 0u);
    EXPECT_EQ(ui.presenter->boxes[0].style, 16);
    EXPECT_EQ(Ctr().Status, "S");
    EXPECT_EQ(Ctr().Step, "03");
    EXPECT_EQ(EventFlags(), "11");
}

TEST_F(PriceHistoryRun, BadStatusOrStepIsTheFatalControlError) {
    const std::pair<std::string, std::string> records[] = {{"X", "02"}, {"B", "05"}, {"S", "  "}};
    for (const auto& [status, step] : records) {
        SCOPED_TRACE("status " + status + " step " + step);
        fs::remove(common::State().errorLogPath);
        ui.presenter->boxes.clear();
        SetCtr(status, step);

        EXPECT_FALSE(collect::AHPJP00M());

        const std::string errors = ReadLog(common::State().errorLogPath);
        EXPECT_NE(errors.find(std::string("AHPJP00M,E0:ErrApl ,01,") + kFatal), std::string::npos);
        EXPECT_NE(errors.find("  CtrRec.Status=" + status + "  CtrRec.Step=" + step), std::string::npos);
        ASSERT_EQ(ui.presenter->boxes.size(), 1u);
        EXPECT_EQ(ui.presenter->boxes[0].text.rfind(kFatal, 0), 0u);
        EXPECT_EQ(ui.presenter->boxes[0].style, 48);
        EXPECT_EQ(Ctr().Status, status);
    }
}

// Resumed at step 02, a failed part's finished companies are folded into its
// list, as a suspended part's are; a cancel leaves the run at step 02.
TEST_F(PriceHistoryRun, ResumeAtStep02FoldsAFailedPartsWorkAndStopsOnCancel) {
    SetCtr("B", "02");
    SetEventFlags("1");
    WriteTasks({"E"});
    WriteList(kProcess, 1, "", {Company("1301"), Company("7203")});
    marketdata::CdmRec finished = Company("1301");
    finished.Key.Flag1 = "0";
    WriteList(kProcess, 1, ".tmp", {finished});
    InstallPump(std::make_shared<testsupport::CallbackPump>([] { common::State().CancelRequested = true; }));

    EXPECT_FALSE(collect::AHPJP00M());

    const marketdata::CdmTbl list = List(kProcess, 1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Key.Flag1, "0");
    EXPECT_EQ(list[1].Key.Flag1, "1");
    EXPECT_FALSE(fs::exists(marketdata::PartWorkFilePath(env, kProcess, 1)));
    ASSERT_EQ(ui.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui.presenter->boxes[0].text, "株価時系列データ（国内）の収集を中断します。　");
    EXPECT_EQ(Ctr().Step, "02");
    EXPECT_EQ(EventFlags(), "11");
}

// With every part done the run gathers the part lists at step 03, keeping
// them until step 04 has applied them to the code master, then ends with no
// task's work folder left (one a killed child left with a fresh copy in it).
// Step 02 logs its two inner starts and shows the parts' preparation.
TEST_F(PriceHistoryRun, DonePartsAreGatheredThenAppliedToTheCodeMaster) {
    SetCtr("B", "02");
    WriteTasks({"Z", "Z"});
    WriteList(0, 0, "", {Company("1301"), Company("7203")});
    marketdata::CdmRec first = Company("1301");
    marketdata::CdmRec second = Company("7203");
    WriteList(kProcess, 1, "", {first});
    WriteList(kProcess, 2, "", {second});
    first.Key.Flag1 = second.Key.Flag1 = "0";
    first.Term[1] = {"2026/01/05", "2026/12/04"};
    second.Term[1] = {"2025/03/03", "2026/12/03"};
    WriteList(kProcess, 1, ".tmp", {first});  // not yet folded into its list
    WriteList(kProcess, 2, "", {second});
    const std::string killedChildsFolder = common::TaskWorkFolder(env, kProcess, 2);
    fs::create_directories(killedChildsFolder);
    testsupport::WriteBytes(killedChildsFolder + "/Page.htm.tmp999999999-0", "part");
    bool seenBeforeStep04 = false;
    bool seenPreparation = false;
    InstallPump(std::make_shared<testsupport::CallbackPump>([&] {
        seenPreparation = seenPreparation || forms->view.label.find("\r\n\r\n中断中の再開準備") != std::string::npos;
        if (seenBeforeStep04 || forms->view.label.find("　⇒コードマスター の更新") == std::string::npos) return;
        seenBeforeStep04 = true;
        EXPECT_TRUE(fs::exists(DataPath(1, kProcess, 1, "")));
        EXPECT_TRUE(fs::exists(DataPath(1, kProcess, 2, "")));
        EXPECT_TRUE(fs::exists(DataPath(1, 0, 0, ".tmp")));
    }));

    EXPECT_TRUE(collect::AHPJP00M());

    EXPECT_TRUE(seenBeforeStep04);
    EXPECT_TRUE(seenPreparation);
    EXPECT_FALSE(fs::exists(killedChildsFolder));
    const std::string log = ReadLog(common::State().runLogPath);
    EXPECT_NE(log.find(",10:Step   ,02,AHPJP00M_Step02 Start Step01 : 株価時系列データ（国内）\r\n"), std::string::npos);
    EXPECT_NE(log.find(",10:Step   ,02,AHPJP00M_Step02 Start Step02 : 株価時系列データ（国内）\r\n"), std::string::npos);
    const marketdata::CdmTbl master = List(0, 0);
    ASSERT_EQ(master.size(), 2u);
    EXPECT_EQ(master[0].Term[1].FirstDate, "2026/01/05");
    EXPECT_EQ(master[1].Term[1].FirstDate, "2025/03/03");
    EXPECT_EQ(master[1].Key.Flag1, "0");
    EXPECT_FALSE(fs::exists(DataPath(1, kProcess, 1, "")));
    EXPECT_FALSE(fs::exists(DataPath(1, kProcess, 2, "")));
    EXPECT_FALSE(fs::exists(DataPath(1, 0, 0, ".tmp")));
    EXPECT_FALSE(fs::exists(DataPath(100, kProcess, 0, "")));
    EXPECT_FALSE(fs::exists(DataPath(102, kProcess, 1, "")));
    std::string identity;
    marketdata::CdmKeyString(second.Key, identity);
    marketdata::NameIndexRec indexed;
    EXPECT_TRUE(marketdata::FindCompanyListRecord(env, identity, indexed));
    EXPECT_EQ(platform::TrimBlanks(indexed.Name), "銘柄7203");
    EXPECT_EQ(Ctr().Status, "Z");
    EXPECT_TRUE(ui.presenter->boxes.empty());
}

// The date tool sets each record's stamp and dates from its daily series.
TEST_F(PriceHistoryRun, DateToolTakesTheDatesFromTheDailySeries) {
    marketdata::CdmRec held = Company("1301");
    marketdata::CdmRec missing = Company("7203");
    missing.ProcMark[1].MarkFlag = "1";
    missing.Term[1] = {"2020/01/06", "2026/12/04"};
    WriteList(0, 0, "", {held, missing});
    const std::vector<std::string> series{"2026/11/30\t10\t11\t9\t10\t100\t10",
                                          "2026/12/01\t10\t12\t9\t11\t100\t11",
                                          "2026/12/02\t11\t12\t10\t12\t100\t12"};
    marketdata::WritePriceSeries(env, marketdata::kPriceSeriesFileNumber,
                                 marketdata::PriceFileNamePart(held.Key, "D"), ".txt", series);

    collect::AHPJP50M();

    const marketdata::CdmTbl master = List(0, 0);
    ASSERT_EQ(master.size(), 2u);
    EXPECT_EQ(master[0].ProcMark[1].MarkFlag, "1");
    EXPECT_EQ(master[0].Term[1].FirstDate, "2026/11/30");
    EXPECT_EQ(master[0].Term[1].LastDate, "2026/12/02");
    EXPECT_EQ(master[1].ProcMark[1].MarkFlag, "9");
    EXPECT_EQ(master[1].Term[1].FirstDate, "");
    EXPECT_EQ(master[1].Term[1].LastDate, "");
    EXPECT_FALSE(fs::exists(DataPath(1, 0, 0, ".tmp")));
    EXPECT_TRUE(forms->loaded.empty());
}

}  // namespace
