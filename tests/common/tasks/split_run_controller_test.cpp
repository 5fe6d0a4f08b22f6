#include "common/tasks/split_run_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "common/tasks/task_files.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "tests/support/child_process.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"
#include "tests/support/scoped_env.h"

namespace {

namespace fs = std::filesystem;
constexpr long kProcess = 21;

class CallbackPump : public common::EventPump {
public:
    void ProcessEvents() override {
        if (onPump) onPump();
    }
    std::function<void()> onPump;
};

struct Interval {
    long sequence;
    double start;
    double end;
};

// A split run in a temporary program folder whose children are the stand-in child program.
class SplitRun : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(FAKE_CHILD_EXE, folder_.program() / "fake_child");
        common::State().ExeName = "fake_child";
        fs::create_directories(notes_);
        common::InstallUi({presenter_, nullptr, pump_, nullptr, std::make_shared<testsupport::ThrowingProgramEnd>()});
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
    }
    void TearDown() override { common::InstallUi({}); }

    // Writes the control record and one detail record per letter; task i runs in slot `slots[i - 1]`.
    void MakeRun(const std::string& letters, long parallelism, std::vector<int> slots = {}) {
        common::WriteSetting("MirControl\\Common\\MultiTask", std::to_string(parallelism));
        common::TSCRec control;
        common::InitTaskControlRec(kProcess, static_cast<long>(letters.size()), env_, control);
        control.SlotCount = slots.empty() ? static_cast<int>(letters.size()) : *std::max_element(slots.begin(), slots.end());
        common::CFTSC50M(kProcess, "", env_, control);
        for (std::size_t i = 0; i < letters.size(); ++i) {
            common::TSDRec task;
            common::InitTaskDetailRec(kProcess, static_cast<long>(i + 1), env_, control, task);
            task.TaskSlot = slots.empty() ? static_cast<int>(i + 1) : slots[i];
            task.TaskStatus = std::string(1, letters[i]);
            common::CFTSD50M(kProcess, static_cast<long>(i + 1), env_, task);
        }
    }

    std::string Letters(long count) {
        std::string letters;
        for (long i = 1; i <= count; ++i) {
            common::TSDRec task;
            letters += common::CFTSD10M(102, "", kProcess, i, "", env_, task) ? task.TaskStatus : "?";
        }
        return letters;
    }

    std::vector<Interval> Intervals() {
        std::vector<Interval> result;
        for (const auto& entry : fs::directory_iterator(notes_)) {
            const std::string name = entry.path().filename().string();
            const auto dot = name.find(".start.");
            if (dot == std::string::npos) continue;
            Interval interval{std::stol(name.substr(0, dot)), 0, 1e18};
            std::ifstream(entry.path()) >> interval.start;
            const fs::path end = notes_ / (name.substr(0, dot) + ".end." + name.substr(dot + 7));
            if (fs::exists(end)) std::ifstream(end) >> interval.end;
            result.push_back(interval);
        }
        std::sort(result.begin(), result.end(), [](const Interval& a, const Interval& b) { return a.start < b.start; });
        return result;
    }

    static std::size_t MaxOverlap(const std::vector<Interval>& intervals) {
        std::size_t most = 0;
        for (const Interval& at : intervals) {
            std::size_t running = 0;
            for (const Interval& other : intervals) {
                if (other.start <= at.start && at.start < other.end) ++running;
            }
            most = std::max(most, running);
        }
        return most;
    }

    double Run() {
        const double started = platform::MonotonicSeconds();
        common::CCTSC50M(kProcess, env_, msg_);
        return platform::MonotonicSeconds() - started;
    }

    testsupport::ProgramFolder folder_;
    fs::path notes_ = folder_.root() / "notes";
    testsupport::ScopedEnv notesEnv_{"MIR_FAKE_CHILD_NOTES", notes_.string()};
    std::shared_ptr<testsupport::RecordingPresenter> presenter_ = std::make_shared<testsupport::RecordingPresenter>();
    std::shared_ptr<CallbackPump> pump_ = std::make_shared<CallbackPump>();
    common::EnvRec env_;
    common::MSGRec msg_;
};

TEST_F(SplitRun, FiveTasksAtParallelismTwoRunToTheEnd) {
    testsupport::ScopedEnv mode("MIR_FAKE_CHILD", "done");
    MakeRun("00000", 2);
    Run();
    EXPECT_EQ(Letters(5), "ZZZZZ");
    const std::vector<Interval> runs = Intervals();
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_LE(MaxOverlap(runs), 2u);
    // Tasks start in order as places come free: task k starts only once
    // k - 2 tasks have ended (a child notes its end before reporting it).
    for (const Interval& run : runs) {
        const auto ended = std::count_if(runs.begin(), runs.end(), [&](const Interval& other) { return other.end <= run.start; });
        EXPECT_GE(ended, run.sequence - 2) << "task " << run.sequence;
    }
    common::TSCRec control;
    ASSERT_TRUE(common::CFTSC10M(kProcess, env_, control));
    EXPECT_EQ(control.DoneCount, 5);
    EXPECT_EQ(control.WaitingCount, 0);
    EXPECT_TRUE(msg_.ButtonsOn);
    EXPECT_EQ(msg_.LabelText2, "");
    // No report or stop-request file is left behind.
    for (const auto& entry : fs::directory_iterator(folder_.program() / "Temp")) {
        EXPECT_EQ(entry.path().filename().string().rfind("TSDDON", 0), std::string::npos);
        EXPECT_EQ(entry.path().filename().string().rfind("TSDRUN", 0), std::string::npos);
    }
}

TEST_F(SplitRun, SuspendedTasksStartFirstAndSlotsNeverRunTwice) {
    testsupport::ScopedEnv mode("MIR_FAKE_CHILD", "done");
    // Tasks 1 and 4 share slot 1, tasks 2 and 5 slot 2.
    MakeRun("000SS", 2, {1, 2, 3, 1, 2});
    Run();
    EXPECT_EQ(Letters(5), "ZZZZZ");
    const std::vector<Interval> runs = Intervals();
    ASSERT_EQ(runs.size(), 5u);
    auto find = [&](long sequence) {
        return *std::find_if(runs.begin(), runs.end(), [&](const Interval& i) { return i.sequence == sequence; });
    };
    // The suspended tasks take both places first: no waiting task starts
    // before one of them has ended (a child notes its end before reporting it).
    const double firstEnd = std::min(find(4).end, find(5).end);
    for (const long waiting : {1L, 2L, 3L}) EXPECT_GE(find(waiting).start, firstEnd) << "task " << waiting;
    for (const auto& [a, b] : {std::pair{1L, 4L}, std::pair{2L, 5L}}) {
        const Interval x = find(a);
        const Interval y = find(b);
        EXPECT_TRUE(x.end <= y.start || y.end <= x.start) << a << " and " << b << " ran in one slot at once";
    }
}

TEST_F(SplitRun, EveryPlaceIsKeptBusy) {
    testsupport::ScopedEnv mode("MIR_FAKE_CHILD", "done");
    testsupport::ScopedEnv pause("MIR_FAKE_CHILD_PAUSE_MS", "300");
    MakeRun("000000000", 3);
    const double seconds = Run();
    EXPECT_EQ(Letters(9), "ZZZZZZZZZ");
    EXPECT_EQ(MaxOverlap(Intervals()), 3u);
    // Nine children of 0.3 s, three at a time: about 1 s. The old pacing,
    // one start per pass after the last run report, took 0.4 s a task.
    EXPECT_LT(seconds, 3.0);
}

// A parent that died left its tasks "B", a run report of a child killed just
// after writing it, an end report never read and a stop request: the run is
// taken up, every task runs again under this run, and it ends.
// The run's work on done tasks goes on while later tasks run: each task
// once, only after its child has ended, a task done before the call as well.
TEST_F(SplitRun, DoneTasksAreWorkedOnWhileOthersRun) {
    testsupport::ScopedEnv mode("MIR_FAKE_CHILD", "done");
    testsupport::ScopedEnv pause("MIR_FAKE_CHILD_PAUSE_MS", "600");
    MakeRun("Z0000", 2);
    struct Handed {
        long sequence;
        double at;
        std::string letters;
    };
    std::vector<Handed> handed;
    common::CCTSC50M(kProcess, env_, msg_, [&](long sequence) {
        handed.push_back({sequence, platform::MonotonicSeconds(), Letters(5)});
    });
    EXPECT_EQ(Letters(5), "ZZZZZ");
    std::vector<long> sequences;
    for (const Handed& h : handed) sequences.push_back(h.sequence);
    std::sort(sequences.begin(), sequences.end());
    EXPECT_TRUE(std::adjacent_find(sequences.begin(), sequences.end()) == sequences.end()) << "a task given twice";
    ASSERT_FALSE(handed.empty());
    EXPECT_EQ(handed.front().sequence, 1);
    const std::vector<Interval> runs = Intervals();
    for (const Handed& h : handed) {
        EXPECT_EQ(h.letters[static_cast<std::size_t>(h.sequence - 1)], 'Z') << "task " << h.sequence;
        const auto run = std::find_if(runs.begin(), runs.end(), [&](const Interval& i) { return i.sequence == h.sequence; });
        if (run != runs.end()) {
            EXPECT_LE(run->end, h.at) << "task " << h.sequence << " given before its child ended";
        }
    }
    // Tasks 2 and 3 end while 4 and 5 still run.
    EXPECT_EQ(std::count(sequences.begin(), sequences.end(), 2), 1);
    EXPECT_EQ(std::count(sequences.begin(), sequences.end(), 3), 1);
}

TEST_F(SplitRun, LeftoversOfADeadParentAreTakenUp) {
    testsupport::ScopedEnv mode("MIR_FAKE_CHILD", "done");
    MakeRun("BBB0", 2);
    for (long sequence = 1; sequence <= 3; ++sequence) {
        common::TSDRec task;
        ASSERT_TRUE(common::CFTSD10M(102, "", kProcess, sequence, "", env_, task));
        const long fileNumber = sequence == 1 ? 111 : sequence == 2 ? 114 : 113;
        common::CFTSD70M(fileNumber, kProcess, sequence, fileNumber == 113 ? "M" : "S", "", fileNumber == 114 ? "Z" : "B",
                         env_, task);
    }
    EXPECT_LT(Run(), 5.0);
    EXPECT_EQ(Letters(4), "ZZZZ");
    EXPECT_EQ(Intervals().size(), 4u);
    const std::string errors = platform::FromCp932(testsupport::ReadBytes(common::State().errorLogPath)).text;
    EXPECT_NE(errors.find("実行中のまま残ったタスクを中断扱いにしました: タスク001"), std::string::npos);
}

// A child of a dead parent still works on task 1 (it holds the task's lock
// and has reported running): the run ends it before anything else and runs
// the task with a child of its own.
TEST_F(SplitRun, ChildOfADeadParentIsEndedBeforeTheRunGoesOn) {
    MakeRun("B0", 2);
    testsupport::ChildProcess stray((folder_.program() / "fake_child").string(), common::ChildArguments(kProcess, 1),
                                    {{"MIR_FAKE_CHILD", "until-stop"}});
    const fs::path runReport = folder_.program() / "Temp" / "TSDRUN021001S.dat";
    for (int i = 0; i < 500 && !fs::exists(runReport); ++i) platform::SleepMilliseconds(10);
    ASSERT_TRUE(fs::exists(runReport));

    testsupport::ScopedEnv mode("MIR_FAKE_CHILD", "done");
    EXPECT_LT(Run(), 10.0);
    ASSERT_TRUE(stray.WaitForExit(std::chrono::seconds(1)).has_value());
    EXPECT_EQ(Letters(2), "ZZ");
    EXPECT_EQ(Intervals().size(), 3u);
    long ends = 0;
    for (const auto& entry : fs::directory_iterator(notes_)) {
        ends += entry.path().filename().string().find(".end.") != std::string::npos;
    }
    EXPECT_EQ(ends, 2) << "the stray child must not reach its end";
}

TEST_F(SplitRun, ChildKilledMidTaskIsFailedAndRestarted) {
    testsupport::ScopedEnv mode("MIR_FAKE_CHILD", "die-once");
    MakeRun("000", 2);
    Run();
    EXPECT_EQ(Letters(3), "ZZZ");
    EXPECT_EQ(Intervals().size(), 6u);  // each task once killed, once done
    const std::string errors = platform::FromCp932(testsupport::ReadBytes(common::State().errorLogPath)).text;
    EXPECT_NE(errors.find("子プロセスが報告なしで終了しました: タスク001"), std::string::npos);
}

TEST_F(SplitRun, ChildThatCannotStartEndsTheRunAfterTheErrorLimit) {
    common::State().ExeName = "no_such_program";
    MakeRun("00", 2);
    EXPECT_THROW(Run(), testsupport::ProgramEnded);
    EXPECT_EQ(common::ReadSetting("MirControl\\Common\\Cancel"), "1");
    ASSERT_FALSE(presenter_->boxes.empty());
    EXPECT_EQ(presenter_->boxes.back().text.rfind("エラーが多発しています。　\r\n\r\n", 0), 0u);
    EXPECT_EQ(presenter_->boxes.back().style, 16);
}

TEST_F(SplitRun, CancelStopsRunningChildrenAndSuspendsTheirTasks) {
    testsupport::ScopedEnv mode("MIR_FAKE_CHILD", "until-stop");
    MakeRun("0000", 2);
    pump_->onPump = [&] {
        common::TSDRec a;
        common::TSDRec b;
        if (common::CFTSD10M(102, "", kProcess, 1, "", env_, a) && a.TaskStatus == "B" &&
            common::CFTSD10M(102, "", kProcess, 2, "", env_, b) && b.TaskStatus == "B") {
            common::State().CancelRequested = true;
        }
    };
    const double seconds = Run();
    EXPECT_LT(seconds, 15);
    EXPECT_EQ(Letters(4), "SS00");
    for (const Interval& run : Intervals()) EXPECT_LT(run.end, 1e17) << "task " << run.sequence << " never ended";
    EXPECT_FALSE(fs::exists(folder_.program() / "Temp" / "TSDSTS021001M.dat"));
}

TEST_F(SplitRun, QuietRunWaitsLongerAfterFortyNineIdlePasses) {
    testsupport::ScopedEnv mode("MIR_FAKE_CHILD", "until-stop");
    MakeRun("0", 1);
    bool extended = false;
    pump_->onPump = [&] {
        if (msg_.LabelText3 == "待機時間延長中\r\n") {
            extended = true;
            common::State().CancelRequested = true;
        }
    };
    Run();
    EXPECT_TRUE(extended);
    EXPECT_EQ(Letters(1), "S");
}

TEST_F(SplitRun, AllDoneReturnsAfterOnePass) {
    MakeRun("ZZ", 2);
    EXPECT_LT(Run(), 1.0);
    EXPECT_TRUE(Intervals().empty());
}

TEST_F(SplitRun, MissingControlRecordStartsNothing) {
    Run();
    ASSERT_EQ(presenter_->boxes.size(), 1u);
    EXPECT_EQ(presenter_->boxes[0].text.rfind("アプリケーションエラー（制御情報が存在しません）　\r\n\r\n", 0), 0u);
    EXPECT_TRUE(Intervals().empty());
}

TEST(SplitRunCommandLine, ThreeWordsOfThreeDigits) {
    EXPECT_EQ(common::ChildArguments(11, 3),
              (std::vector<std::string>{"Tq8vRw3mZp6LxK2nHc9dYf4GsB7jE", "011", "003"}));
}

}  // namespace
