#include "common/tasks/task_files.h"

#include <utility>
#include <vector>

#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/files/text_file_io.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/number_format.h"

namespace common {

namespace {

std::string Format(long value, const char* format) { return platform::FormatNumber(static_cast<double>(value), format); }

std::string RecordPath(long fileNumber, long processNumber, long taskSequence, const std::string& namePart,
                       EnvRec& env) {
    return CFFIL02M({fileNumber, processNumber, taskSequence, namePart, CFFIL03M(fileNumber)}, env);
}

// Reads a whole record file; false when it is missing or too short to hold a record.
template <typename Rec, typename ParseFn>
bool ReadRecordFile(const std::string& path, Rec& rec, ParseFn parse) {
    if (!platform::FileExists(path)) return false;
    auto parsed = parse(ReadFileBytes(path));
    if (!parsed) {
        WriteErrorLog(State().errorLogOn, State().procedureId, log_tag::kWarning, "00", "レコード不正: " + path);
        return false;
    }
    rec = std::move(*parsed);
    return true;
}

// "    TSCRec.TaskDate        =": the field name padded to 16 columns, a
// full-width character counting two.
std::string DumpLabel(const std::string& record, const std::string& field) {
    const std::size_t width = platform::Cp932Length(field);
    return "    " + record + "." + field + std::string(width < 16 ? 16 - width : 0, ' ') + "=";
}

using DumpFields = std::vector<std::pair<std::string, std::string>>;

// The fields both records begin with.
template <typename Rec>
DumpFields HeadFields(const Rec& rec) {
    return {{"TaskDate", rec.TaskDate},
            {"TaskTime", rec.TaskTime},
            {"TaskNo", rec.TaskNo},
            {"TaskStatus", rec.TaskStatus},
            {"Filler1", rec.Filler1},
            {"ProcIdx", std::to_string(rec.ProcIdx)},
            {"TaskSequence", std::to_string(rec.TaskSequence)}};
}

void Dump(const std::string& title, const std::string& record, const DumpFields& head, const DumpFields& rest) {
    const bool on = LogSwitch(10);
    if (!on) return;
    const std::string& procedureId = State().procedureId;
    WriteInfoLog(on, procedureId, log_tag::kDebug, "00", title);
    for (const DumpFields* fields : {&head, &rest}) {
        for (const auto& [name, value] : *fields) {
            WriteInfoLog(on, procedureId, log_tag::kDebug, "00", DumpLabel(record, name) + value);
        }
    }
}

std::string TaskNo(const char* prefix, long processNumber, const std::string& date, const std::string& time) {
    return prefix + Format(processNumber, "000") + date + time;
}

}  // namespace

bool CFTSC10M(long processNumber, EnvRec& env, TSCRec& rec) {
    FunctionIdGuard guard("CFTSC10M");
    return ReadRecordFile(RecordPath(100, processNumber, 0, "", env), rec, ParseTSCRec);
}

void InitTaskControlRec(long processNumber, long taskCount, const EnvRec& env, TSCRec& rec) {
    long date = 0;
    long time = 0;
    GetNowNumbers(date, time);
    rec.TaskDate = Format(date, "00000000");
    rec.TaskTime = Format(time, "000000");
    rec.TaskNo = TaskNo("TSC", processNumber, rec.TaskDate, rec.TaskTime);
    rec.TaskStatus = "0";
    rec.Filler1 = "     ";
    rec.ProcIdx = static_cast<std::int32_t>(processNumber);
    rec.TaskSequence = 0;
    rec.TaskMax = static_cast<std::int32_t>(env.taskCount);
    rec.TaskCount = static_cast<std::int32_t>(taskCount);
    rec.WaitingCount = static_cast<std::int32_t>(taskCount);
    rec.VbErrorCode = 0;
    rec.StartingCount = rec.RunningCount = rec.DoneCount = rec.SuspendedCount = rec.FailedCount = 0;
    rec.Reserved = 0;
}

bool CFTSC50M(long processNumber, const std::string&, EnvRec& env, const TSCRec& rec) {
    FunctionIdGuard guard("CFTSC50M");
    platform::AtomicReplace(RecordPath(100, processNumber, 0, "", env), SerializeTSCRec(rec));
    Dump("タスクコントロールファイルの出力", "TSCRec",
         HeadFields(rec),
         {{"TaskMax", std::to_string(rec.TaskMax)},
          {"TaskCount", std::to_string(rec.TaskCount)},
          {"VbErrorCode", std::to_string(rec.VbErrorCode)},
          {"待ちタスク数", std::to_string(rec.WaitingCount)},
          {"途中タスク数", std::to_string(rec.StartingCount)},
          {"起動タスク数", std::to_string(rec.RunningCount)},
          {"完了タスク数", std::to_string(rec.DoneCount)},
          {"中断タスク数", std::to_string(rec.SuspendedCount)},
          {"異常タスク数", std::to_string(rec.FailedCount)}});
    return true;
}

bool CFTSD10M(long fileNumber, const std::string& path, long processNumber, long taskSequence,
              const std::string& namePart, EnvRec& env, TSDRec& rec) {
    FunctionIdGuard guard("CFTSD10M");
    const std::string file = path.empty() ? RecordPath(fileNumber, processNumber, taskSequence, namePart, env) : path;
    return ReadRecordFile(file, rec, ParseTSDRec);
}

bool CFTSD11M(long fileNumber, const std::string& path, long, long, const std::string& namePart, EnvRec& env,
              const TSDRec& rec) {
    FunctionIdGuard guard("CFTSD11M");
    const std::string file =
        path.empty() ? RecordPath(fileNumber, rec.ProcIdx, rec.TaskSequence, namePart, env) : path;
    TSDRec request;
    if (!ReadRecordFile(file, request, ParseTSDRec) || request.TaskStatus != "S") return false;
    // The request is consumed: exactly the file that was tested goes.
    CFFIL70M(file);
    return true;
}

void InitTaskDetailRec(long processNumber, long taskSequence, const EnvRec& env, const TSCRec& control, TSDRec& rec) {
    rec.TaskDate = control.TaskDate;
    rec.TaskTime = control.TaskTime;
    rec.TaskNo = TaskNo("TSD", processNumber, rec.TaskDate, rec.TaskTime);
    rec.TaskStatus = "0";
    rec.Filler1 = "     ";
    rec.ProcIdx = control.ProcIdx;
    rec.TaskSequence = static_cast<std::int32_t>(taskSequence);
    rec.TaskRequest = " ";
    rec.TargetCount = rec.CompleteCount = rec.VbErrorCode = 0;
    rec.Path = rec.MainPath = rec.TaskPath = env.Path;
}

bool CFTSD50M(long processNumber, long taskSequence, EnvRec& env, const TSDRec& rec) {
    FunctionIdGuard guard("CFTSD50M");
    platform::AtomicReplace(RecordPath(102, processNumber, taskSequence, "", env), SerializeTSDRec(rec));
    Dump("タスク明細ファイルの出力", "TSDRec",
         HeadFields(rec),
         {{"TaskRequest", rec.TaskRequest},
          {"TargetCount", std::to_string(rec.TargetCount)},
          {"CompleteCount", std::to_string(rec.CompleteCount)},
          {"VbErrorCode", std::to_string(rec.VbErrorCode)},
          {"Path", rec.Path}});
    return true;
}

bool CFTSD70M(long fileNumber, long processNumber, long taskSequence, const std::string& namePart,
              const std::string&, const std::string& status, EnvRec& env, const TSDRec& rec) {
    FunctionIdGuard guard("CFTSD70M");
    TSDRec copy = rec;
    copy.TaskStatus = status;
    platform::AtomicReplace(RecordPath(fileNumber, processNumber, taskSequence, namePart, env),
                            SerializeTSDRec(copy));
    // The task phase follows the child's own reports, whoever sends them, so
    // that a failure is reported where the parent expects it, and only once.
    if (fileNumber == 111 && status == "B") State().TaskPhase = "01";
    if (fileNumber == 114) State().TaskPhase = "02";
    return true;
}

void SetTaskDetailStatus(long fileNumber, const std::string& namePart, const std::string& status, EnvRec& env,
                         TSDRec& rec) {
    rec.TaskStatus = status;
    CFTSD70M(fileNumber, rec.ProcIdx, rec.TaskSequence, namePart, "", status, env, rec);
}

bool TaskStopRequested(EnvRec& env, const TSDRec& task) {
    constexpr long kStopRequest = 113;
    return ReadSetting("MirControl\\Common\\Cancel") == "1" || CFTSD11M(kStopRequest, "", 0, 0, "M", env, task);
}

}  // namespace common
