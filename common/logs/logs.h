#pragma once
#include <string>

#include "common/files/env_rec.h"

namespace platform {
class TrappedError;
}

namespace common {

// Level tags, ten characters each.
namespace log_tag {
inline constexpr const char* kStart = "01:Start  ";
inline constexpr const char* kStep = "10:Step   ";
inline constexpr const char* kInfo = "20:Info   ";
inline constexpr const char* kEnd = "30:End    ";
inline constexpr const char* kExec = "40:Exec   ";
inline constexpr const char* kDebug = "80:Debug  ";
inline constexpr const char* kWarning = "90:Worning";
inline constexpr const char* kAbend = "99:ABEND  ";
inline constexpr const char* kAdmin = "A0:Admin  ";
inline constexpr const char* kErrApl = "E0:ErrApl ";
}  // namespace log_tag

// Switch n (1..17) of the log switch file; the caller passes its group's switch.
bool LogSwitch(int n);

// Reads the log switch file (file number 20003); no file: switch 1 only.
void LoadLogSwitches(EnvRec& env);

// Each writer appends "procedureId,tag,code,message" to its log when enabled.
void WriteRunLog(bool enabled, const std::string& procedureId, const std::string& tag, const std::string& code,
                 const std::string& message);
void WriteStepLog(bool enabled, const std::string& procedureId, const std::string& tag, const std::string& code,
                  const std::string& message);
void WriteExecLog(bool enabled, const std::string& procedureId, const std::string& tag, const std::string& code,
                  const std::string& message);
void WriteProcLog(bool enabled, const std::string& procedureId, const std::string& tag, const std::string& code,
                  const std::string& message);
void WriteInfoLog(bool enabled, const std::string& procedureId, const std::string& tag, const std::string& code,
                  const std::string& message);
void WriteErrorLog(bool enabled, const std::string& procedureId, const std::string& tag, const std::string& code,
                   const std::string& message);

// The run-log line of an abnormal end (switch 1): "99:ABEND  " under
// `procedureId`, which the message names with the current process name.
void WriteAbendLine(const std::string& procedureId);

// Opens the log for appending, writes one dated line and closes it again.
void AppendLogLine(const std::string& logPath, long processNumber, long taskSequence, const std::string& text);

// The dump of a trapped run-time error in the error log.
void LogVbError(const std::string& callerText, int style, const std::string& ownProcedureId,
                const platform::TrappedError& error);
void LogProcIdxLine(const std::string& callerText, int style, const std::string& ownProcedureId, long processNumber,
                    const platform::TrappedError& error);

}  // namespace common
