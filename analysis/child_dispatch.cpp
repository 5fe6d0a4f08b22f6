#include "analysis/child_dispatch.h"

#include "analysis/judgement_process.h"
#include "analysis/part_judgement.h"
#include "common/logs/progress.h"
#include "common/procedure_guard.h"
#include "common/startup/sub_menu.h"
#include "platform/trapped_error.h"

namespace analysis {

namespace {

bool IsJudgedCountry(long countryIndex) { return countryIndex >= 1 && countryIndex <= 3; }

}  // namespace

void SubMenu(long processNumber, long taskSequence, common::TSDRec& task, common::EnvRec& env) {
    common::ProcedureIdGuard guard("SubMenu");
    platform::TrappedError trapped(0, "", "SubMenu");
    try {
        common::MSGRec msg;
        const common::ChildProcess child = common::BeginChildTask(processNumber, taskSequence, task, env, msg);
        if (child.processIndex != kJudgementProcess) {
            // No part will ever report for this task: it fails below rather
            // than leave the parent waiting.
            common::LogChoiceError("アプリケーションエラー（処理の選択エラー）　", child.processIndex,
                                   child.countryIndex);
            common::RemoveTaskWorkFolder(env);
        } else if (!IsJudgedCountry(child.countryIndex)) {
            common::LogChoiceError("アプリケーションエラー（国の選択エラー）　", child.processIndex,
                                   child.countryIndex);
        } else if (AKAGI32M("", env, msg, task)) {
            common::EndChildTask(env);
            return;
        }
    } catch (const platform::TrappedError& error) {
        trapped = error;
    }
    common::FailChildTask(task, env, trapped);
}

}  // namespace analysis
