// A stand-in for a program's child copy in split-run tests: it plays the
// child's side of the task protocol with the behaviour MIR_FAKE_CHILD names.
//   done        report running, then done
//   until-stop  report running, then wait for a stop request (suspended) or 20 s (done)
//   die         report running, then die without an end report (SIGKILL)
//   die-once    as die the first time a task runs, as done after that
//   fail        report a failure before running
// MIR_FAKE_CHILD_QUICK set: "done" ends at once, without the short pause;
// MIR_FAKE_CHILD_PAUSE_MS sets that pause (50 ms unless set).
// It notes each start and end in MIR_FAKE_CHILD_NOTES as "<seq>.start.<n>"
// and "<seq>.end.<n>" files holding the monotonic time.
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <string>
#include <thread>
#include <unistd.h>

#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "common/tasks/child_mode.h"
#include "common/tasks/task_files.h"
#include "common/tasks/task_lock.h"
#include "platform/child_process.h"
#include "platform/clock.h"

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

void Note(const std::string& folder, long sequence, const std::string& what) {
    if (folder.empty()) return;
    for (int n = 1;; ++n) {
        const std::filesystem::path file =
            std::filesystem::path(folder) / (std::to_string(sequence) + "." + what + "." + std::to_string(n));
        if (!std::filesystem::exists(file)) {
            // Full precision: the tests order these notes against the parent's clock.
            std::ofstream(file) << std::setprecision(17) << platform::MonotonicSeconds();
            return;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || std::string(argv[1]) != common::kChildModeToken) return 2;
    const long process = std::stol(argv[2]);
    const long sequence = std::stol(argv[3]);
    std::string mode = Env("MIR_FAKE_CHILD");
    const std::string notes = Env("MIR_FAKE_CHILD_NOTES");

    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(process, sequence, env);
    if (!platform::BindToParent() || !common::HoldTaskLock(process, sequence, env)) return 4;
    common::TSDRec task;
    if (!common::CFTSD10M(102, "", process, sequence, "", env, task)) return 3;
    Note(notes, sequence, "start");

    if (mode == "die-once") {
        const std::filesystem::path marker = std::filesystem::path(notes) / (std::to_string(sequence) + ".died");
        mode = std::filesystem::exists(marker) ? "done" : "die";
        if (mode == "die") std::ofstream(marker) << "x";
    }
    if (mode == "fail") {
        common::SetTaskDetailStatus(111, "S", "E", env, task);
        return 0;
    }
    common::SetTaskDetailStatus(111, "S", "B", env, task);
    std::string end = "Z";
    if (mode == "die") {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        kill(getpid(), SIGKILL);
    } else if (mode == "until-stop") {
        const double deadline = platform::MonotonicSeconds() + 20;
        while (platform::MonotonicSeconds() < deadline) {
            if (common::CFTSD11M(113, "", 0, 0, "M", env, task)) {
                end = "S";
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    } else if (Env("MIR_FAKE_CHILD_QUICK").empty()) {
        const std::string pause = Env("MIR_FAKE_CHILD_PAUSE_MS");
        std::this_thread::sleep_for(std::chrono::milliseconds(pause.empty() ? 50 : std::stol(pause)));
    }
    Note(notes, sequence, "end");
    common::SetTaskDetailStatus(114, "S", end, env, task);
    return 0;
}
