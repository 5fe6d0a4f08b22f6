#pragma once
// A Mirelda program folder with one split run as the current process: its
// code master, part lists and task files, its control record, and a
// recording user interface.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/files/data_file.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/startup/process_context.h"
#include "common/startup/run_env.h"
#include "common/tasks/ctr_file.h"
#include "common/tasks/task_files.h"
#include "marketdata/code_master.h"
#include "platform/cp932.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace collect_test {

inline constexpr const char* kNoCompany =
    "処理対象の企業が存在しません。　\r\n\r\n"
    "ご不便をお掛けして、大変申し訳ございません。　\r\n"
    "企業一覧の収集、または「その他の機能」のコードマスターの初期化を行ってから再実行して下さい。　\r\n\r\n"
    "それでも同様のエラーが発生する場合は、お手数をお掛けしますが、　\r\n"
    "開発者へ連絡をお願い致します。　\r\n";
inline constexpr const char* kNoControl = "アプリケーションエラー（制御情報が存在しません）　";
inline constexpr const char* kFatal = "アプリケーションエラー（制御情報の致命的エラー）　";

class SplitRunFiles : public ::testing::Test {
protected:
    // The run of (processIndex, countryIndex); the task work paths of
    // (workProcess, workSequence): 0, 0 for the parent, a part's for its child.
    SplitRunFiles(long processIndex, long countryIndex, long workProcess, long workSequence) {
        common::CCENV00M(env);
        common::SetTaskWorkPaths(workProcess, workSequence, env);
        common::LoadLogSwitches(env);
        common::SetProcessContext(processIndex, countryIndex);
        process = common::State().context.processNumber;
    }

    static marketdata::CdmRec Company(const std::string& code) {
        marketdata::CdmRec rec;
        marketdata::InitCdmRec(rec, 1);
        rec.Key.Market = "JPN";
        rec.Key.Category = "1000";
        rec.Key.CorpCode = code;
        rec.Key.Flag1 = "1";
        rec.InfoText[171 - 133] = "銘柄" + code;
        return rec;
    }

    void WriteList(long procIdx, long sequence, const std::string& extension, marketdata::CdmTbl companies) {
        marketdata::WriteCodeMaster(1, procIdx, sequence, "", extension, static_cast<long>(companies.size()), env,
                                    companies);
    }
    marketdata::CdmTbl List(long procIdx, long sequence) {
        marketdata::CdmTbl companies;
        marketdata::CFCDM10M(1, procIdx, sequence, "", "", "", "", env, common::SortKeyRec{}, companies);
        return companies;
    }

    // A task-control record of one part per status, and each part's record.
    void WriteTasks(const std::vector<std::string>& statuses) {
        common::TSCRec control;
        common::InitTaskControlRec(process, static_cast<long>(statuses.size()), env, control);
        control.SlotCount = 1;
        common::CFTSC50M(process, "", env, control);
        for (std::size_t i = 0; i < statuses.size(); ++i) {
            const long sequence = static_cast<long>(i + 1);
            common::InitTaskDetailRec(process, sequence, env, control, task);
            task.TaskSlot = 1;
            task.TaskStatus = statuses[i];
            common::CFTSD50M(process, sequence, env, task);
        }
    }

    std::string DataPath(long fileNumber, long procIdx, long sequence, const std::string& extension) {
        return common::BuildDataFilePath(fileNumber, procIdx, sequence, "", extension, env);
    }

    void InstallPump(std::shared_ptr<common::EventPump> pump) {
        common::InstallUi({ui.presenter, forms, std::move(pump), nullptr,
                           std::make_shared<testsupport::ThrowingProgramEnd>()});
    }

    void SetCtr(const std::string& status, const std::string& step) {
        common::CtrRec rec;
        common::ClearCtrRec(rec);
        rec.Status = status;
        rec.Step = step;
        common::WriteCtrRec(process, env, rec);
    }
    common::CtrRec Ctr() {
        common::CtrRec rec;
        common::ReadCtrRec(process, env, rec);
        return rec;
    }

    static std::string ReadLog(const std::string& path) {
        return std::filesystem::exists(path) ? platform::FromCp932(testsupport::ReadBytes(path)).text : "";
    }

    testsupport::ProgramFolder folder;
    testsupport::FakeUi ui;
    std::shared_ptr<testsupport::RecordingForms> forms = std::make_shared<testsupport::RecordingForms>();
    common::EnvRec env;
    long process = 0;
    common::TSDRec task;  // the last one written
};

}  // namespace collect_test
