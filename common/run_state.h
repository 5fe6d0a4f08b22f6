#pragma once
#include <string>

namespace common {

// The process-wide values that every procedure of a program shares. They live
// here together so that nothing else in the program keeps global state.
struct RunState {
    std::string programTitle;  // "Mirelda" or "Korvane": caption of every message box
    std::string procedureId;   // driver that is running; named in every log line
    std::string functionId;    // library routine that is running
    long processNumber = 0;    // current process number of log lines and task files
    long taskSequence = 0;     // current task sequence of log lines and task files
    bool CancelRequested = false;
    std::string TaskPhase = "00";
    bool StartingUp = false;
    std::string ExeName;
};

RunState& State();

}  // namespace common
