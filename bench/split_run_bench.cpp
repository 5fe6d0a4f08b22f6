// Runs 100 tasks whose children only report, at parallelism 10, and prints
// the controller's time per task. Run by hand: bench_split_run [tasks] [parallelism]
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "common/tasks/split_run_controller.h"
#include "common/tasks/task_files.h"
#include "platform/clock.h"
#include "tests/support/program_folder.h"
#include "tests/support/scoped_env.h"

int main(int argc, char** argv) {
    const long tasks = argc > 1 ? std::stol(argv[1]) : 100;
    const long parallelism = argc > 2 ? std::stol(argv[2]) : 10;
    constexpr long kProcess = 21;

    testsupport::ProgramFolder folder;
    testsupport::ScopedEnv mode("MIR_FAKE_CHILD", "done");
    testsupport::ScopedEnv fast("MIR_FAKE_CHILD_QUICK", "1");
    std::filesystem::copy_file(FAKE_CHILD_EXE, folder.program() / "fake_child");
    common::State().ExeName = "fake_child";
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);
    common::WriteSetting("MirControl\\Common\\MultiTask", std::to_string(parallelism));

    common::TSCRec control;
    common::InitTaskControlRec(kProcess, tasks, env, control);
    control.SlotCount = static_cast<int>(parallelism);
    common::CFTSC50M(kProcess, "", env, control);
    for (long i = 1; i <= tasks; ++i) {
        common::TSDRec task;
        common::InitTaskDetailRec(kProcess, i, env, control, task);
        task.TaskSlot = static_cast<int>((i - 1) % parallelism + 1);
        common::CFTSD50M(kProcess, i, env, task);
    }

    common::MSGRec msg;
    const double start = platform::MonotonicSeconds();
    common::CCTSC50M(kProcess, env, msg);
    const double seconds = platform::MonotonicSeconds() - start;
    common::TSCRec after;
    common::CFTSC10M(kProcess, env, after);
    std::printf("%ld tasks at parallelism %ld: %.2f s in all, %.1f ms per task, %d done\n", tasks, parallelism,
                seconds, seconds * 1000 / static_cast<double>(tasks), after.DoneCount);
    return after.DoneCount == tasks ? 0 : 1;
}
