// Crash trials of a whole judgement run: the parent (a stand-in for
// Korvane's interactive copy) and its real Korvane children are killed at
// chosen moments, and the run is taken up again by a new parent. Every
// resumed run must end, with the result files of an unbroken run.
// MIR_CRASH_TRIALS sets the trials of each kind (default 3).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <ostream>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "common/files/file_registry.h"
#include "platform/activity_watch.h"
#include "platform/clock.h"
#include "tests/apps/judgement_installation.h"
#include "tests/support/child_process.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using judgement_e2e::ChildrenOf;
using judgement_e2e::Installation;

enum class Crash {
    Together,         // parent and children at a random moment, as in a power cut
    AtRunReport,      // all of them, the moment a child's run report appears
    ParentThenStart,  // the parent alone while its children run, and a new parent started at once
};

std::string Name(Crash crash) {
    switch (crash) {
        case Crash::Together: return "Together";
        case Crash::AtRunReport: return "AtRunReport";
        case Crash::ParentThenStart: return "ParentThenStart";
    }
    return "";
}

void PrintTo(Crash crash, std::ostream* out) { *out << Name(crash); }

int Trials() {
    const char* set = std::getenv("MIR_CRASH_TRIALS");
    return set != nullptr && std::atoi(set) > 0 ? std::atoi(set) : 3;
}

// No run, however it was broken, may take longer than this to end.
constexpr auto kRunLimit = 90s;

// An installation whose judgement runs in a parent process of its own.
class ParentRun : public Installation {
public:
    ParentRun() { fs::copy_file(JUDGEMENT_PARENT_EXE, folder.program() / "judgement_parent"); }

    std::unique_ptr<testsupport::ChildProcess> Start() {
        return std::make_unique<testsupport::ChildProcess>((folder.program() / "judgement_parent").string(),
                                                           std::vector<std::string>{});
    }

    // Starts a parent and waits for its end; false when it does not end in time.
    bool RunToTheEnd() {
        const auto parent = Start();
        return parent->WaitForExit(kRunLimit).has_value();
    }
};

// The parent and every child of it, killed at once.
void KillAll(pid_t parent) {
    const auto children = ChildrenOf(parent);
    kill(parent, SIGKILL);
    for (const auto& [pid, words] : children) kill(pid, SIGKILL);
}

void Break(ParentRun& run, Crash crash, std::mt19937& random, double unbrokenSeconds) {
    const auto parent = run.Start();
    const double started = platform::MonotonicSeconds();
    switch (crash) {
        case Crash::Together: {
            std::uniform_real_distribution<double> moment(0.0, unbrokenSeconds);
            std::this_thread::sleep_for(std::chrono::duration<double>(moment(random)));
            KillAll(parent->pid());
            break;
        }
        case Crash::AtRunReport: {
            // The n-th run report of the run: any of the parts, first start or restart.
            std::uniform_int_distribution<int> which(1, 3);
            int left = which(random);
            platform::ActivityWatch watch(run.env.folder(common::Folder::Temp), {"TSDRUN"});
            while (left > 0 && platform::MonotonicSeconds() - started < unbrokenSeconds * 3) {
                if (watch.Wait(100)) --left;
            }
            KillAll(parent->pid());
            break;
        }
        case Crash::ParentThenStart: {
            while (ChildrenOf(parent->pid()).empty() && platform::MonotonicSeconds() - started < unbrokenSeconds * 3) {
                std::this_thread::sleep_for(1ms);
            }
            std::uniform_real_distribution<double> moment(0.0, unbrokenSeconds / 2);
            std::this_thread::sleep_for(std::chrono::duration<double>(moment(random)));
            kill(parent->pid(), SIGKILL);
            break;
        }
    }
    ASSERT_TRUE(parent->WaitForExit(10s).has_value());
}

class JudgementCrashTrials : public ::testing::TestWithParam<Crash> {};

TEST_P(JudgementCrashTrials, ResumedRunsEndWithTheFilesOfAnUnbrokenRun) {
    std::map<std::string, std::string> reference;
    double unbrokenSeconds = 0;
    {
        ParentRun run;
        const double started = platform::MonotonicSeconds();
        ASSERT_TRUE(run.RunToTheEnd());
        unbrokenSeconds = platform::MonotonicSeconds() - started;
        reference = run.ExpectCompleteRun();
        ASSERT_EQ(reference.size(), 2u);
    }
    std::mt19937 random(20261210 + static_cast<unsigned>(GetParam()));
    for (int trial = 1; trial <= Trials(); ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        ParentRun run;
        Break(run, GetParam(), random, unbrokenSeconds);
        ASSERT_TRUE(run.RunToTheEnd()) << "the resumed run did not end";
        EXPECT_EQ(run.ExpectCompleteRun(), reference);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, JudgementCrashTrials,
                         ::testing::Values(Crash::Together, Crash::AtRunReport, Crash::ParentThenStart),
                         [](const ::testing::TestParamInfo<Crash>& info) { return Name(info.param); });

}  // namespace
