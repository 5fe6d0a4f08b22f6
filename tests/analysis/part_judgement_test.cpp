#include "analysis/part_judgement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/judge_result_file.h"
#include "common/screens/ui_seam.h"
#include "common/tasks/task_files.h"
#include "platform/date.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"
#include "tests/analysis/part_judgement_fixture.h"

namespace {

using analysis::KagiJudgeRec;
using analysis_test::kSignalZigzag;
using platform::Currency;

Currency Money(const char* text) { return *platform::ParseCurrency(text); }

class PartJudgement : public analysis_test::PartJudgementTest {
protected:
    bool Run() { return analysis::AKAGI32M("", env, msg, task); }
};

TEST_F(PartJudgement, JudgesEveryCompanyIntoTheResultAndWorkFiles) {
    marketdata::CdmRec noSeries = Company("1002");
    noSeries.NumGroup[3].Nums = {7, 4, 3};
    WritePart({Company("1001"), noSeries, Company("1003")});
    WriteSeries("1001", kSignalZigzag);
    WriteSeries("1003", kSignalZigzag);

    EXPECT_TRUE(Run());

    EXPECT_EQ(Report(111), "B");
    EXPECT_EQ(Report(114), "Z");
    const std::vector<KagiJudgeRec> results = Results();
    ASSERT_EQ(results.size(), 4u);
    for (std::size_t i = 0; i < results.size(); ++i) {
        SCOPED_TRACE(i);
        const KagiJudgeRec& rec = results[i];
        EXPECT_EQ(rec.Key.CorpCode.substr(0, 4), i < 2 ? "1001" : "1003");
        EXPECT_EQ(rec.Direction, i % 2 == 0 ? "1" : "2");
        EXPECT_EQ(rec.Signal.SignalPrice, Money(i % 2 == 0 ? "552" : "448"));
        EXPECT_EQ(rec.Signal.SignalGain, Money(i % 2 == 0 ? "-104" : "8"));
    }
    const KagiJudgeRec& sell = results[1];
    EXPECT_EQ(sell.TurnState, "1");
    EXPECT_EQ(sell.Turn.RuleDate, platform::ToDaySerial(platform::Date{1900, 1, 1}));

    const std::vector<marketdata::CdmRec> work = WorkRecords();
    ASSERT_EQ(work.size(), 3u);
    for (const marketdata::CdmRec& rec : work) EXPECT_EQ(rec.Key.Flag1, "0");
    const marketdata::CdmRec& judged = work[0];
    EXPECT_EQ(judged.Attr4, platform::DateText(platform::FromDaySerial(sell.JudgeDate)));
    EXPECT_EQ(judged.Attr5, "2");
    EXPECT_EQ(judged.Attr6, "1");
    EXPECT_EQ(judged.Amount[3], Money("448"));
    EXPECT_EQ(judged.Amount[4], Money("8"));
    EXPECT_EQ(judged.Num[6], sell.Signal.RuleCount);
    EXPECT_EQ(judged.Num[2], sell.CombinedRules[1]);
    EXPECT_EQ(judged.NumGroup[3].Nums, (std::array<std::int32_t, 3>{2, 1, 1}));
    EXPECT_EQ(judged.NumGroup[3].Amounts[4], Money("-85.72"));
    // No series: no judgement, statistics as they were.
    EXPECT_EQ(work[1].Attr4, "          ");
    EXPECT_EQ(work[1].Attr6, "9");
    EXPECT_EQ(work[1].NumGroup[3].Nums, (std::array<std::int32_t, 3>{7, 4, 3}));
}

// Each company is judged in the currency its code master stores, as its
// charts draw it, not in the run's: a dollar and a yuan stock priced a
// hundredth and a thousandth of the yen one turn where it does, at those
// prices.
TEST_F(PartJudgement, EachCompanyIsJudgedInItsOwnCurrency) {
    struct Case {
        const char* code;
        const char* stored;
        long divisor;
    };
    const Case cases[] = {{"1001", "", 1}, {"1002", "米ドル", 100}, {"1003", "人民元", 1000}};
    std::vector<marketdata::CdmRec> companies;
    for (const Case& c : cases) {
        companies.push_back(Company(c.code));
        companies.back().RptText[6] = c.stored;
        std::vector<std::string> texts;
        for (const char* close : kSignalZigzag) texts.push_back((Money(close) / c.divisor).ToText());
        std::vector<const char*> closes;
        for (const std::string& text : texts) closes.push_back(text.c_str());
        WriteSeries(c.code, closes);
    }
    WritePart(companies);

    Run();

    const std::vector<KagiJudgeRec> results = Results();
    ASSERT_EQ(results.size(), 2 * std::size(cases));
    for (std::size_t i = 0; i < results.size(); ++i) {
        const Case& c = cases[i / 2];
        SCOPED_TRACE(c.code);
        EXPECT_EQ(results[i].Key.CorpCode.substr(0, 4), c.code);
        EXPECT_EQ(results[i].Signal.SignalPrice, Money(i % 2 == 0 ? "552" : "448") / c.divisor);
        EXPECT_EQ(results[i].Signal.SignalGain, Money(i % 2 == 0 ? "-104" : "8") / c.divisor);
    }
}

// A failed part ("E") keeps what was judged before, like any other: those
// companies are not in the list's pending set and would never be judged again.
TEST_F(PartJudgement, RestartedPartKeepsWhatWasJudgedAndAppends) {
    for (const char* status : {"E", "S"}) {
        SCOPED_TRACE(status);
        // Results and a line of a company judged before, no longer pending.
        marketdata::CdmRec judged = Company("9999");
        judged.Key.Flag1 = "0";
        KagiJudgeRec earlier;
        earlier.Key = judged.Key;
        analysis::AppendJudgeRecords(ResultPath(), {&earlier, 1});
        common::CFFIL30M(std::vector<std::string>{Line(judged)}, WorkPath());
        WritePart({Company("1001")});
        WriteSeries("1001", kSignalZigzag);
        task.TaskStatus = status;

        Run();

        EXPECT_EQ(Results().size(), 3u);
        EXPECT_EQ(WorkRecords().size(), 1u);  // the earlier line is folded into the list
        std::filesystem::remove(ResultPath());
        std::filesystem::remove(WorkPath());
    }
}

// Requests a stop once the first company's line is written, that is while
// the second company's progress is shown.
class StopAfterFirstCompany : public common::EventPump {
public:
    StopAfterFirstCompany(std::string workPath, std::function<void()> stop)
        : workPath_(std::move(workPath)), stop_(std::move(stop)) {}
    void ProcessEvents() override {
        if (stopped_ || !std::filesystem::exists(workPath_)) return;
        stopped_ = true;
        stop_();
    }

private:
    std::string workPath_;
    std::function<void()> stop_;
    bool stopped_ = false;
};

TEST_F(PartJudgement, CancelOrSuspendRequestStopsBeforeTheNextCompany) {
    const std::vector<std::function<void()>> requests{
        [] { common::WriteSetting("MirControl\\Common\\Cancel", "1"); },
        [this] { common::CFTSD70M(113, kProcess, kSequence, "M", "", "S", env, task); },
    };
    for (std::size_t r = 0; r < requests.size(); ++r) {
        SCOPED_TRACE(r);
        common::WriteSetting("MirControl\\Common\\Cancel", "");
        std::filesystem::remove(WorkPath());
        common::InstallUi({ui.presenter, nullptr, std::make_shared<StopAfterFirstCompany>(WorkPath(), requests[r]), nullptr,
                           std::make_shared<testsupport::ThrowingProgramEnd>()});
        WritePart({Company("1001"), Company("1002"), Company("1003")});

        EXPECT_TRUE(Run());

        EXPECT_EQ(Report(114), "S");
        const std::vector<marketdata::CdmRec> work = WorkRecords();
        ASSERT_EQ(work.size(), 1u);
        EXPECT_EQ(work[0].Key.CorpCode.substr(0, 4), "1001");
        // A suspend request is taken once.
        EXPECT_FALSE(common::CFTSD11M(113, "", 0, 0, "M", env, task));
    }
}

TEST_F(PartJudgement, PartWithoutCompaniesEndsWithOneReport) {
    WritePart({});
    EXPECT_TRUE(Run());
    EXPECT_EQ(Report(111), "B");
    EXPECT_EQ(Report(114), "Z");
    EXPECT_NE(ReadLog(common::State().runLogPath)
                  .find(",AKAGI32M,90:Worning,02,処理対象の企業が存在しません（アプリケーションエラーの可能性があります）　"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(ResultPath()));
}

TEST_F(PartJudgement, RecoveryKeepsExactlyTheFinishedCompanies) {
    // 1001 is judged and folded into the list; 1002 was being judged (its
    // results written, its line not); 1003 is judged, its line written to the
    // work file but not yet folded in; the last line was cut short.
    marketdata::CdmRec judged = Company("1001");
    judged.Key.Flag1 = "0";
    WritePart({judged, Company("1002"), Company("1003")});
    std::vector<KagiJudgeRec> recs(5);
    for (std::size_t i = 0; i < recs.size(); ++i) {
        recs[i].Key = Company(i < 2 ? "1001" : i < 4 ? "1002" : "1003").Key;
        recs[i].SequenceNumber = static_cast<std::int32_t>(i);
    }
    const std::string whole = analysis::JudgeRecordBytes(recs);
    testsupport::WriteBytes(ResultPath(), whole + whole.substr(0, 100));
    marketdata::CdmRec finished = Company("1003");
    finished.Key.Flag1 = "0";
    const std::string finishedLine = platform::ToCp932(Line(finished) + "\r\n").bytes;
    const std::string cutLine = platform::ToCp932(Line(Company("1002")) + "\r\n").bytes.substr(0, 40);
    testsupport::WriteBytes(WorkPath(), finishedLine + cutLine);

    common::MSGRec msg;
    analysis::RecoverPartResults(env, msg, kProcess, kSequence, "JPN");

    const std::string kept = analysis::JudgeRecordBytes(std::vector<KagiJudgeRec>{recs[0], recs[1], recs[4]});
    EXPECT_EQ(testsupport::ReadBytes(ResultPath()), kept);
    EXPECT_FALSE(std::filesystem::exists(WorkPath()));
    marketdata::CdmTbl pending;
    ASSERT_TRUE(marketdata::CFCDM10M(1, kProcess, kSequence, "", "JPN", "2000", "1", env, {}, pending));
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(platform::TrimBlanks(pending[0].Key.CorpCode), "1002");
}

TEST_F(PartJudgement, ResumedPartGivesTheSameFilesAsAnUninterruptedOne) {
    WritePart({Company("1001"), Company("1002")});
    WriteSeries("1001", kSignalZigzag);
    WriteSeries("1002", kSignalZigzag);
    Run();
    const std::string complete = testsupport::ReadBytes(ResultPath());

    // Killed while the second company's results were being written.
    testsupport::WriteBytes(ResultPath(), complete.substr(0, complete.size() - 50));
    const std::vector<marketdata::CdmRec> work = WorkRecords();
    common::CFFIL30M(std::vector<std::string>{Line(work[0])}, WorkPath());
    task.TaskStatus = "B";
    Run();

    EXPECT_EQ(testsupport::ReadBytes(ResultPath()), complete);
    EXPECT_EQ(WorkRecords().size(), 1u);  // the first line went into the list
}

}  // namespace
