// A whole-market judgement run with the real Korvane as the child copies,
// timed step by step, so the orchestration (splitting, the controller's
// polling, gathering, sorting) can be set against the judging itself and
// against the engine-only time of bench_judgement. Run by hand:
//   bench_judgement_run [--companies=N] [--rows=N] [--parallel=N]
// The full size is 4,000 companies of 5,000 daily rows at parallelism 2.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "analysis/analysis_parts.h"
#include "analysis/judgement_run.h"
#include "bench/bench_support.h"
#include "common/data_file.h"
#include "common/process_context.h"
#include "common/program_parts.h"
#include "common/run_env.h"
#include "common/run_state.h"
#include "common/settings.h"
#include "common/ui_seam.h"
#include "platform/memory_policy.h"
#include "tests/support/judgement_market.h"
#include "tests/support/program_folder.h"
#include "tests/support/scoped_env.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Notes when each step of the run becomes the current line of its step list.
class StepClock : public common::ProgressForms, public common::ProgressView {
public:
    common::ProgressView& Show(const std::string&) override { return *this; }
    void Unload(const std::string&) override {}
    void SetBar(long, long) override {}
    void SetButtonsVisible(bool) override {}
    void SetCaption(const std::string&) override {}
    void SetLabel(const std::string& text) override {
        const std::size_t mark = text.find("　⇒");
        if (mark == std::string::npos) return;
        const std::string line = text.substr(mark + std::string_view("　⇒").size(),
                                             text.find("\r\n", mark) - mark - std::string_view("　⇒").size());
        if (line != current_) {
            current_ = line;
            order.push_back(line);
            started[line] = Clock::now();
        }
    }

    std::vector<std::string> order;
    std::map<std::string, Clock::time_point> started;

private:
    std::string current_;
};

// Samples how many child copies are alive, every 5 ms, from a thread of its own.
class ChildSampler {
public:
    ChildSampler() : thread_([this] { Sample(); }) {}
    ~ChildSampler() {
        stop_ = true;
        thread_.join();
    }

    // The mean number of live children between two moments.
    double MeanBetween(Clock::time_point from, Clock::time_point to) const {
        double sum = 0;
        long count = 0;
        for (const auto& [at, children] : samples_) {
            if (at < from || at >= to) continue;
            sum += children;
            ++count;
        }
        return count > 0 ? sum / static_cast<double>(count) : 0;
    }

private:
    void Sample() {
        const std::string list = "/proc/self/task/" + std::to_string(getpid()) + "/children";
        while (!stop_) {
            std::ifstream in(list);
            long children = 0;
            for (long pid = 0; in >> pid;) ++children;
            samples_.emplace_back(Clock::now(), children);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    std::atomic<bool> stop_{false};
    std::vector<std::pair<Clock::time_point, long>> samples_;
    std::thread thread_;
};

double CpuSeconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

long CountFlag(int argc, char** argv, std::string_view name, long fallback) {
    const std::string prefix = "--" + std::string(name) + "=";
    for (int a = 1; a < argc; ++a) {
        const std::string_view arg = argv[a];
        if (arg.starts_with(prefix)) return std::stol(std::string(arg.substr(prefix.size())));
    }
    return fallback;
}

}  // namespace

int main(int argc, char** argv) {
    platform::KeepFreedMemory();  // as the programs do
    const long companies = CountFlag(argc, argv, "companies", 4000);
    const long rows = CountFlag(argc, argv, "rows", 5000);
    const long parallel = CountFlag(argc, argv, "parallel", 2);
    if (companies < 1 || rows < 1 || parallel < 1 || parallel > 10) {
        std::fprintf(stderr, "--companies and --rows must be at least 1, --parallel 1 to 10\n");
        return 1;
    }

    testsupport::ProgramFolder folder(true);
    const testsupport::ScopedEnv offscreen("QT_QPA_PLATFORM", "offscreen");
    std::filesystem::copy_file(KORVANE_EXE, folder.program() / "Korvane");
    common::State().ExeName = "Korvane";
    common::InstallProgramParts(analysis::AnalysisProgramParts());
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);

    const Clock::time_point writing = Clock::now();
    testsupport::WriteJudgementMarket(env, companies, rows);
    common::WriteSetting("MirControl\\Common\\MultiTaskKsn", std::to_string(parallel));
    std::printf("market of %ld companies x %ld rows written in %.1f s\n", companies, rows,
                Seconds(writing, Clock::now()));

    auto clock = std::make_shared<StepClock>();
    common::InstallUi({nullptr, clock, nullptr, nullptr, nullptr});
    common::SetProcessContext(2, 1);
    auto sampler = std::make_unique<ChildSampler>();
    rusage ownBefore{};
    getrusage(RUSAGE_SELF, &ownBefore);
    const Clock::time_point start = Clock::now();
    const bool completed = analysis::AKAGI00M();
    const Clock::time_point end = Clock::now();
    rusage own{};
    getrusage(RUSAGE_SELF, &own);
    common::InstallUi({});

    std::printf("judgement run at parallelism %ld: %s, wall %.2f s\n", parallel,
                completed ? "complete" : "NOT complete", Seconds(start, end));
    // The floor: every series file read and converted from CP932 once, its
    // time shared by the processes of the run.
    double floorMilliseconds = 0;
    for (long n = 0; n < companies; ++n) {
        const marketdata::CdmRec rec = testsupport::MarketCompany(testsupport::MarketCompanyCode(n));
        std::size_t chars = 0;
        floorMilliseconds += bench::ReadAndIconvMilliseconds(
            1, common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0,
                                         marketdata::PriceFileNamePart(rec.Key, "D"), "", env),
            chars);
    }
    const double floorSeconds = floorMilliseconds / 1000.0 / static_cast<double>(parallel);
    std::printf("read-and-convert floor of the series files over %ld processes: %.2f s; the run takes %.1fx it\n",
                parallel, floorSeconds, Seconds(start, end) / floorSeconds);
    for (std::size_t k = 0; k < clock->order.size(); ++k) {
        const std::string& step = clock->order[k];
        const Clock::time_point next = k + 1 < clock->order.size() ? clock->started[clock->order[k + 1]] : end;
        std::printf("  %8.2f s  %s\n", Seconds(clock->started[step], next), step.c_str());
    }
    for (std::size_t k = 0; k + 1 < clock->order.size(); ++k) {
        if (clock->order[k] != "鉤足判定処理の開始") continue;  // the step that judges the parts in the children
        std::printf("children working while the parts are judged: %.2f on average (parallelism %ld)\n",
                    sampler->MeanBetween(clock->started[clock->order[k]], clock->started[clock->order[k + 1]]),
                    parallel);
    }
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    std::printf("child copies in all: %.2f s user, %.2f s system, %ld page faults\n", CpuSeconds(children.ru_utime),
                CpuSeconds(children.ru_stime), children.ru_minflt);
    std::printf("this process during the run: %.2f s user, %.2f s system, %ld page faults\n",
                CpuSeconds(own.ru_utime) - CpuSeconds(ownBefore.ru_utime),
                CpuSeconds(own.ru_stime) - CpuSeconds(ownBefore.ru_stime), own.ru_minflt - ownBefore.ru_minflt);
    return completed ? 0 : 1;
}
