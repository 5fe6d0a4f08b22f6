#pragma once
#include <functional>
#include <map>
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"

namespace common {

// A driver runs one step of a batch for the current process context; true
// when the step came to its end (false when a cancel or a failure stopped it
// short, so that its resume has work left).
using Driver = std::function<bool()>;

// A collector works through one task of a split run in a child copy:
// (first argument, an empty text, EnvRec, MSGRec, TSDRec) -> success.
using Collector = std::function<bool(long, const std::string&, EnvRec&, MSGRec&, TSDRec&)>;

// The parts of its own that each program hands to the common start-up and
// control code: the common code calls them and never names the program's
// folders directly.
struct ProgramParts {
    std::map<std::string, Driver> drivers;        // by procedure ID ("AHPJP00M", ...)
    std::map<std::string, Collector> collectors;  // by procedure ID ("AHPJP30M", ...)
    std::function<void()> interactiveStart;       // the program's own start for the user
    std::function<void(long, long, TSDRec&, EnvRec&)> subMenu;  // the child dispatcher
    std::function<void()> batchRunner;            // what a resumed run starts
};

void InstallProgramParts(ProgramParts parts);
const ProgramParts& Parts();

}  // namespace common
