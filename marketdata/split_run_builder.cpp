#include "marketdata/split_run_builder.h"

#include <algorithm>
#include <span>

#include "common/files/data_file.h"
#include "common/files/file_registry.h"
#include "common/files/key_layout.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/multi_task_count.h"
#include "common/tasks/task_files.h"
#include "common/tasks/waits.h"
#include "marketdata/code_master.h"
#include "platform/replace_group.h"

namespace marketdata {

namespace {

constexpr const char* kOwnId = "CFCDM82M";
constexpr long kStageCount = 8;
// The part lists and the status files a run of the process leaves behind.
constexpr long kFilesOfProcess[] = {kCodeMasterFileNumber, 111, 112, 113, 114};

void LogStep(const std::string& step) {
    common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kStep, step,
                        std::string(kOwnId) + " Step" + step);
}

void NextStage(common::MSGRec& msg) {
    ++msg.StagesDone;
    common::ShowStagedProgress(msg);
}

// The steps between loading the companies and the end line; false when there
// is no company to run.
bool PrepareParts(long processNumber, const std::string& market, long parallelism, common::EnvRec& env,
                  common::MSGRec& msg) {
    common::SortKeyRec keys;
    common::SetKeyLayout3(keys);
    CdmTbl companies;
    if (!CFCDM11M(msg, kCodeMasterFileNumber, 0, 0, "", market, "2000", "", env, keys, companies)) return false;

    LogStep("01");
    NextStage(msg);
    for (const long fileNumber : kFilesOfProcess) common::CFFIL75M(fileNumber, processNumber, env);

    LogStep("02");
    NextStage(msg);
    LogStep("03");
    NextStage(msg);
    const std::string extension = common::CFFIL03M(kCodeMasterFileNumber);
    WriteSplitRunTasks(processNumber, static_cast<long>(companies.size()), parallelism, env, msg,
                       [&](long sequence, long first, long last) {
                           // In place: each company is in one part only, and the table goes after.
                           const std::span<CdmRec> part(companies.begin() + first, companies.begin() + last);
                           for (CdmRec& rec : part) rec.Key.Flag1 = "1";
                           WriteCodeMaster(kCodeMasterFileNumber, processNumber, sequence, "", extension,
                                           static_cast<long>(part.size()), env, part);
                       });
    LogStep("04");
    NextStage(msg);
    return true;
}

}  // namespace

void WriteSplitRunTasks(long processNumber, long count, long parallelism, common::EnvRec& env, common::MSGRec& msg,
                        const std::function<void(long sequence, long first, long last)>& writePart) {
    env.runMode = 2;
    env.TaskPath = env.Path;
    common::TSCRec control;
    common::InitTaskControlRec(processNumber, 0, env, control);
    common::TSDRec task;
    common::InitTaskDetailRec(processNumber, 0, env, control, task);
    task.MainPath = env.Path;
    task.TaskPath = env.Path;

    const long partSize = common::ChunkCount(count, parallelism);
    const long slots = common::AtLeastOne(env.taskCount);
    msg.lngDenominator = count;
    long sequence = 0;
    long slot = 0;
    // The parts and their records are flushed together; the control record,
    // which makes them a run, only once they all are in place.
    platform::ReplaceGroup parts;
    for (long next = 1;; next += partSize) {
        msg.lngNumerator = next;
        common::ShowStagedProgress(msg);
        if (next > count) break;
        ++sequence;
        slot = slot % slots + 1;
        writePart(sequence, next - 1, std::min(count, next - 1 + partSize));
        task.TaskSlot = static_cast<std::int32_t>(slot);
        task.TaskSequence = static_cast<std::int32_t>(sequence);
        control.TaskCount = static_cast<std::int32_t>(sequence);
        control.SlotCount = std::max(control.SlotCount, static_cast<std::int32_t>(slot));
        common::CFTSD50M(processNumber, sequence, env, task);
    }
    parts.Finish();
    control.WaitingCount = control.TaskCount;
    common::CFTSC50M(processNumber, "", env, control);
}

bool CFCDM82M(long processNumber, long, const std::string& processName, const std::string& market,
              common::EnvRec& env, common::MSGRec& msg, const std::string&) {
    common::ProcedureIdGuard guard(kOwnId);
    common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kStart, "00",
                        std::string(kOwnId) + " Start : " + processName);
    // Without a process number the deletion pattern of the part lists would
    // also take the master itself.
    if (processNumber < 1) {
        const std::string message = "アプリケーションエラー（プロセス番号が不正）";
        common::WriteErrorLog(common::State().errorLogOn, kOwnId, common::log_tag::kErrApl, "00",
                              message + " ProcIdx=" + std::to_string(processNumber));
        common::EndWithAppError(message);
    }
    const long parallelism = common::ReadMultiTaskCount();
    LogStep("00");

    msg.StageCount = kStageCount;
    msg.StagesDone = 0;
    msg.LabelText2 = "\r\n\r\n" + processName + "の準備中";
    msg.DisplayOn = true;
    msg.ButtonsOn = false;
    common::ShowStagedProgress(msg);

    const bool prepared = PrepareParts(processNumber, market, parallelism, env, msg);

    LogStep("05");
    msg.StagesDone = msg.StageCount;
    common::ShowStagedProgress(msg);
    common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kEnd, "00",
                        std::string(kOwnId) + " End   : " + processName);
    return prepared;
}

}  // namespace marketdata
