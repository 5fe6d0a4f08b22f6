#include "common/tasks/environment_reset.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "common/text/text_compare.h"
#include "platform/file_system.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace common {

namespace {

namespace fs = std::filesystem;

constexpr const char* kOwnId = "CRSET00M";
constexpr const char* kResetTitle = "実行環境のリセット";
constexpr const char* kVbError = "ＶＢエラーを検出しました。　";

// The run mark and the record of an interrupted run, emptied in this order.
constexpr const char* kRunStateKeys[] = {
    "MirControl\\Common\\Exec",     "MirControl\\Common\\Batch", "MirControl\\Common\\ProcName",
    "MirControl\\Common\\ProcFile", "MirControl\\Common\\Step",  "MirControl\\Common\\ProcId",
    "MirControl\\Common\\Cancel",
};

// Process numbers are process index * 10 + country index: these bases with
// country indexes 0..3 cover process indexes 1..11.
constexpr long kProcessBases[] = {80, 100, 40, 50, 60, 70, 10, 90, 20, 30, 110};

// Task files, task logs, part lists and the per-process data files.
constexpr long kProcessFileNumbers[] = {111,  112,  113,  114,  100,  102,  3,    4,    1,    2,    3002,  3003,
                                        3004, 1003, 1004, 1006, 1007, 1008, 1011, 1012, 1013, 1002, 40001};

bool IsTaskWorkFolderName(const std::string& name) { return TextEquals(platform::LeftChars(name, 3), "Htm"); }

// The plain folders Temp/Htm* in name order; a link is no work folder of ours.
std::vector<fs::path> TaskWorkFolders(const std::string& temp) {
    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::directory_iterator it(temp, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (it->symlink_status(ignored).type() == fs::file_type::directory &&
            IsTaskWorkFolderName(it->path().filename().string())) {
            folders.push_back(it->path());
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

// A work folder that cannot be emptied or removed is logged and left behind,
// so that it does not keep the reset from clearing the others.
void OnTaskWorkFolder(const fs::path& folder, const std::function<void()>& step) {
    try {
        step();
    } catch (const platform::TrappedError& error) {
        WriteErrorLog(State().errorLogOn, kOwnId, log_tag::kWarning, "00",
                      "作業フォルダを削除できませんでした。　" + folder.string() + "　" + error.description());
    }
}

void RemoveTaskWorkFolders(const std::string& temp) {
    for (const fs::path& folder : TaskWorkFolders(temp)) {
        OnTaskWorkFolder(folder, [&] { RemoveWorkFolder(folder.string()); });
    }
}

}  // namespace

void CRSET00M() {
    ProcedureIdGuard procedure(kOwnId);
    FunctionIdGuard function("");
    State().CancelRequested = false;
    try {
        EnvRec env;
        CCENV00M(env);
        WriteRunLog(LogSwitch(1), kOwnId, log_tag::kStart, "00", kResetTitle);
        for (const char* key : kRunStateKeys) WriteSetting(key, "");

        CFFIL75M(5, 0, env);
        CFFIL70M(BuildDataFilePath(5, 0, 0, "", "", env));
        CFFIL70M(BuildDataFilePath(20002, 0, 0, "", "", env));
        for (long country = 0; country <= 3; ++country) {
            for (const long base : kProcessBases) CRSET001(env, base + country);
        }
        RemoveTaskWorkFolders(env.folder(Folder::Temp));
        WriteRunLog(LogSwitch(1), kOwnId, log_tag::kEnd, "00", kResetTitle);
    } catch (const platform::TrappedError& error) {
        LogVbError(kVbError, 16, kOwnId, error);
        ShowVbErrorMessage(kVbError, 16, error);
        WriteRunLog(LogSwitch(1), kOwnId, log_tag::kAbend, "00", std::string(kOwnId) + " End(Abnormal)  : ");
        EndProgram();
    }
}

void CRSET001(EnvRec& env, long processNumber) {
    ProcedureIdGuard procedure("CRSET001");
    for (const long fileNumber : kProcessFileNumbers) CFFIL75M(fileNumber, processNumber, env);
}

}  // namespace common
