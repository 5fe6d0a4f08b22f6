#include "common/logs/logs.h"

#include <fstream>

#include "common/files/file_registry.h"
#include "common/run_state.h"
#include "common/tasks/waits.h"
#include "platform/cp932.h"
#include "platform/date.h"
#include "platform/number_format.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace common {

namespace {

// The letter that turns switch n on, n = 1..17.
constexpr std::string_view kSwitchOnLetters = "ZCB5DNOGXZHMLZ9HW";
constexpr std::size_t kSwitchFileSize = 330;

void AppendTo(const std::string& path, const std::string& procedureId, const std::string& tag,
              const std::string& code, const std::string& message) {
    const RunState& state = State();
    AppendLogLine(path, state.processNumber, state.taskSequence, procedureId + "," + tag + "," + code + "," + message);
}

std::string OrStars(const std::string& value) {
    return platform::TrimBlanks(value).empty() ? "********" : value;
}

}  // namespace

bool LogSwitch(int n) { return n >= 1 && n <= 17 && State().logSwitch[static_cast<std::size_t>(n)]; }

void LoadLogSwitches(EnvRec& env) {
    RunState& state = State();
    state.logSwitch.fill(false);
    const std::string path = CFFIL02M({20003, 0, 0, "", CFFIL03M(20002)}, env);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        state.logSwitch[1] = true;
        return;
    }
    std::string bytes(kSwitchFileSize, ' ');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    for (std::size_t n = 1; n <= kSwitchOnLetters.size(); ++n) {
        const std::size_t at = 10 * (n - 1) + 9;
        state.logSwitch[n] = at < bytes.size() && bytes[at] == kSwitchOnLetters[n - 1];
    }
}

void AppendLogLine(const std::string& logPath, long processNumber, long taskSequence, const std::string& text) {
    if (logPath.empty()) {
        return;
    }
    const std::string line = platform::DateText(platform::Now().date) + "," + TimeOfDayText() + "," +
                             platform::FormatNumber(static_cast<double>(processNumber), "000") + "," +
                             platform::FormatNumber(static_cast<double>(taskSequence), "000") + "," + text + "\r\n";
    // Opened and closed per line, so that every line written survives a crash.
    // A log that cannot be written must not stop the work it reports on.
    std::ofstream out(logPath, std::ios::binary | std::ios::app);
    const std::string bytes = platform::ToCp932(line).bytes;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteRunLog(bool enabled, const std::string& procedureId, const std::string& tag, const std::string& code,
                 const std::string& message) {
    if (enabled) AppendTo(State().runLogPath, procedureId, tag, code, message);
}

void WriteAbendLine(const std::string& procedureId) {
    WriteRunLog(LogSwitch(1), procedureId, log_tag::kAbend, "00",
                procedureId + " End(Abnormal)  : " + State().context.processName);
}

void WriteStepLog(bool enabled, const std::string& procedureId, const std::string& tag, const std::string& code,
                  const std::string& message) {
    if (enabled) AppendTo(State().runLogPath, procedureId, tag, code, message);
}

void WriteExecLog(bool enabled, const std::string& procedureId, const std::string& tag, const std::string& code,
                  const std::string& message) {
    if (enabled) AppendTo(State().runLogPath, procedureId, tag, code, message);
}

void WriteProcLog(bool enabled, const std::string& procedureId, const std::string& tag, const std::string& code,
                  const std::string& message) {
    if (enabled) AppendTo(State().runLogPath, procedureId, tag, code, message);
}

void WriteInfoLog(bool enabled, const std::string& procedureId, const std::string& tag, const std::string& code,
                  const std::string& message) {
    if (enabled) AppendTo(State().runLogPath, procedureId, tag, code, message);
}

void WriteErrorLog(bool enabled, const std::string& procedureId, const std::string& tag, const std::string& code,
                   const std::string& message) {
    if (enabled) AppendTo(State().errorLogPath, procedureId, tag, code, message);
}

void LogVbError(const std::string& callerText, int, const std::string& ownProcedureId,
                const platform::TrappedError& error) {
    const RunState& state = State();
    const std::string lines[] = {
        callerText,
        "　　Err.Msg   =" + error.description(),
        "　　Err.Src   =" + error.source(),
        "　　ExecProcNm=" + state.context.processName,
        "　　ExecProcID=" + state.context.processId,
        "　　MyID      =" + OrStars(ownProcedureId),
        "　　ProcID    =" + OrStars(state.procedureId),
        "　　FuncID    =" + OrStars(state.functionId),
        "　　ErrFName=" + state.errFileName,
        "　　ErrFileNum=" + std::to_string(state.errFileNumber),
        "　　ErrStep=" + state.errStep,
    };
    for (const std::string& line : lines) {
        WriteErrorLog(state.errorLogOn, ownProcedureId, log_tag::kErrApl, "00", line);
    }
}

void LogProcIdxLine(const std::string& callerText, int style, const std::string& ownProcedureId, long processNumber,
                    const platform::TrappedError& error) {
    LogVbError(callerText, style, ownProcedureId, error);
    WriteErrorLog(State().errorLogOn, ownProcedureId, log_tag::kErrApl, "00",
                  "　　ProcIdx   =" + std::to_string(processNumber));
}

}  // namespace common
