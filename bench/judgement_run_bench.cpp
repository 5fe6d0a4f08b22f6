// A whole-market judgement run with the real Korvane as the child copies,
// timed step by step, so the orchestration (splitting, the controller's
// polling, gathering, sorting) can be set against the judging itself and
// against the engine-only time of bench_judgement, and the whole against
// the floor of reading and converting the series files in as many real
// processes. Run by hand:
//   bench_judgement_run [--companies=N] [--rows=N] [--parallel=N] [--rounds=N]
// The full size is 4,000 companies of 5,000 daily rows at parallelism 2;
// further rounds judge the same market again.
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
#include "common/files/data_file.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/settings/settings.h"
#include "common/startup/process_context.h"
#include "common/startup/program_parts.h"
#include "common/startup/run_env.h"
#include "platform/memory_policy.h"
#include "tests/support/judgement_market.h"
#include "tests/support/program_folder.h"
#include "tests/support/scoped_env.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

double CpuSeconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

// The processor time of the calling thread: the run's, without the sampler's.
double OwnCpuSeconds() {
    rusage own{};
    getrusage(RUSAGE_THREAD, &own);
    return CpuSeconds(own.ru_utime) + CpuSeconds(own.ru_stime);
}

// Notes when each step of the run becomes the current line of its step list,
// and this process's processor time then.
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
            cpuAt[line] = OwnCpuSeconds();
        }
    }

    std::vector<std::string> order;
    std::map<std::string, Clock::time_point> started;
    std::map<std::string, double> cpuAt;

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

    // The first and the last moment a child was seen alive between two moments.
    std::pair<Clock::time_point, Clock::time_point> ChildrenSeen(Clock::time_point from, Clock::time_point to) const {
        std::pair<Clock::time_point, Clock::time_point> seen{to, from};
        for (const auto& [at, children] : samples_) {
            if (at < from || at >= to || children == 0) continue;
            seen.first = std::min(seen.first, at);
            seen.second = std::max(seen.second, at);
        }
        return seen;
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

long CountFlag(int argc, char** argv, std::string_view name, long fallback) {
    const std::string prefix = "--" + std::string(name) + "=";
    for (int a = 1; a < argc; ++a) {
        const std::string_view arg = argv[a];
        if (arg.starts_with(prefix)) return std::stol(std::string(arg.substr(prefix.size())));
    }
    return fallback;
}

constexpr const char* kChildrenStep = "鉤足判定処理の開始";  // the step that judges the parts in the children

struct Round {
    bool completed = false;
    double wall = 0;
    double aroundChildren = 0;  // wall time of the run while no child is alive
};

// One whole judgement run of the market, step by step.
Round RunOnce(long parallel) {
    auto clock = std::make_shared<StepClock>();
    common::InstallUi({nullptr, clock, nullptr, nullptr, nullptr});
    auto sampler = std::make_unique<ChildSampler>();
    rusage childrenBefore{};
    getrusage(RUSAGE_CHILDREN, &childrenBefore);
    const double ownBefore = OwnCpuSeconds();
    const Clock::time_point start = Clock::now();
    Round round;
    round.completed = analysis::AKAGI00M();
    const Clock::time_point end = Clock::now();
    const double own = OwnCpuSeconds() - ownBefore;
    common::InstallUi({});
    round.wall = Seconds(start, end);

    std::printf("judgement run at parallelism %ld: %s, wall %.3f s\n", parallel,
                round.completed ? "complete" : "NOT complete", round.wall);
    std::printf("  %8s  %8s\n", "wall", "own cpu");
    for (std::size_t k = 0; k < clock->order.size(); ++k) {
        const std::string& step = clock->order[k];
        const bool last = k + 1 == clock->order.size();
        const Clock::time_point next = last ? end : clock->started[clock->order[k + 1]];
        const double cpu = (last ? ownBefore + own : clock->cpuAt[clock->order[k + 1]]) - clock->cpuAt[step];
        std::printf("  %8.3f  %8.3f  %s\n", Seconds(clock->started[step], next), cpu, step.c_str());
    }
    round.aroundChildren = round.wall;
    for (std::size_t k = 0; k + 1 < clock->order.size(); ++k) {
        if (clock->order[k] != kChildrenStep) continue;
        const Clock::time_point from = clock->started[clock->order[k]];
        const Clock::time_point to = clock->started[clock->order[k + 1]];
        const auto [first, last] = sampler->ChildrenSeen(from, to);
        if (first < last) round.aroundChildren -= Seconds(first, last);
        std::printf("children alive from %.3f s to %.3f s of the step, %.2f of them on average then "
                    "(parallelism %ld)\n",
                    Seconds(from, first), Seconds(from, last), sampler->MeanBetween(first, last), parallel);
    }
    sampler.reset();
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    std::printf("child copies: %.2f s user, %.2f s system, %ld page faults; this process: %.2f s processor time\n",
                CpuSeconds(children.ru_utime) - CpuSeconds(childrenBefore.ru_utime),
                CpuSeconds(children.ru_stime) - CpuSeconds(childrenBefore.ru_stime),
                children.ru_minflt - childrenBefore.ru_minflt, own);
    return round;
}

}  // namespace

int main(int argc, char** argv) {
    platform::KeepFreedMemory();  // as the programs do
    const long companies = CountFlag(argc, argv, "companies", 4000);
    const long rows = CountFlag(argc, argv, "rows", 5000);
    const long parallel = CountFlag(argc, argv, "parallel", 2);
    const long rounds = CountFlag(argc, argv, "rounds", 1);
    if (companies < 1 || rows < 1 || parallel < 1 || parallel > 10 || rounds < 1) {
        std::fprintf(stderr, "--companies, --rows and --rounds must be at least 1, --parallel 1 to 10\n");
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

    common::SetProcessContext(2, 1);
    std::vector<double> walls;
    std::vector<double> aroundChildren;
    bool completed = true;
    for (long round = 1; round <= rounds; ++round) {
        const Round result = RunOnce(parallel);
        completed = completed && result.completed;
        walls.push_back(result.wall);
        aroundChildren.push_back(result.aroundChildren);
    }

    // The floor: every series file read and converted from CP932 once, by
    // as many real processes as the run has children, each its own share.
    std::vector<std::string> paths;
    for (long n = 0; n < companies; ++n) {
        const marketdata::CdmRec rec = testsupport::MarketCompany(testsupport::MarketCompanyCode(n));
        paths.push_back(common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0,
                                                  marketdata::PriceFileNamePart(rec.Key, "D"), "", env));
    }
    std::vector<double> floors;
    for (int k = 0; k < 5; ++k) floors.push_back(bench::SharedReadAndIconvSeconds(paths, parallel));
    const double floorSeconds = bench::Median(floors);
    const double wall = bench::Median(walls);
    std::printf("read-and-convert floor of the series files in %ld processes: %.3f s (median of 5)\n", parallel,
                floorSeconds);
    std::printf("judgement run at parallelism %ld: %.3f s (median of %ld), %.2fx the floor; steps around the "
                "children %.3f s (%.0f %%)\n",
                parallel, wall, rounds, wall / floorSeconds, bench::Median(aroundChildren),
                100.0 * bench::Median(aroundChildren) / wall);
    return completed ? 0 : 1;
}
