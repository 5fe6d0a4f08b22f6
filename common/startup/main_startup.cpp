#include "common/startup/main_startup.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/tasks/child_mode.h"
#include "common/settings/default_settings.h"
#include "common/logs/logs.h"
#include "common/logs/message_buttons.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/startup/program_parts.h"
#include "common/startup/run_env.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/sub_menu.h"
#include "common/tasks/task_files.h"
#include "common/tasks/task_lock.h"
#include "common/screens/ui_seam.h"
#include "platform/child_process.h"
#include "platform/date.h"
#include "platform/integer_round.h"
#include "platform/numeric_text.h"
#include "platform/process_info.h"
#include "platform/screens_module.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace common {

namespace {

// A child copy shows no box that nobody could answer: the text goes to the
// error log and the box's default button answers it.
class ChildPresenter : public MessagePresenter {
public:
    int Show(const std::string& text, int style, const std::string&) override {
        WriteErrorLog(State().errorLogOn, State().procedureId, log_tag::kWarning, "00", text);
        return DefaultButtonOfStyle(style);
    }
};

bool HasBlank(const std::string& path) {
    return path.find(' ') != std::string::npos || path.find("　") != std::string::npos;
}

void NoteFileDate(long fileNumber, const char* key, EnvRec& env) {
    platform::DateTime modified{};
    const bool exists = GetDataFileDate(fileNumber, 0, 0, "", "", modified, env);
    WriteSetting(std::string("MirControl\\Counter\\") + key, exists ? platform::CompactStamp(modified) : "");
}

// Word n of the child command line as a number; a missing or non-numeric word ends the child.
long NumericWord(const EnvRec& env, std::size_t n) {
    if (env.arguments.size() < n || !platform::IsNumericText(env.arguments[n - 1])) EndProgram();
    return platform::ToLong(*platform::ParseDouble(env.arguments[n - 1]));
}

// Process number and task sequence of a child's command line, when it is one.
std::optional<std::pair<long, long>> ChildTask(const EnvRec& env) {
    const auto& words = env.arguments;
    if (words.size() < 3 || words[0] != kChildModeToken || !platform::IsNumericText(words[1]) ||
        !platform::IsNumericText(words[2])) {
        return std::nullopt;
    }
    return std::pair{platform::ToLong(*platform::ParseDouble(words[1])),
                     platform::ToLong(*platform::ParseDouble(words[2]))};
}

// A child that fails before its collector starts (its settings store cannot
// be opened, say): the error goes to its task's log, and its task is failed,
// so that the parent counts it instead of waiting.
void FailChildStart(EnvRec& env, const platform::TrappedError& error) {
    const auto task = ChildTask(env);
    if (!task) return;
    try {
        SetTaskWorkPaths(task->first, task->second, env);
    } catch (const platform::TrappedError&) {
        // Logged to the program's log instead.
    }
    TSDRec rec;
    if (CFTSD10M(102, "", task->first, task->second, "", env, rec)) ReportTaskFailed(rec, env, error.number());
}

void RunChild(EnvRec& env) {
    if (env.arguments[0] != kChildModeToken) EndProgram();
    const long processNumber = NumericWord(env, 2);
    const long taskSequence = NumericWord(env, 3);
    // A child whose parent has gone has no one to read its reports, and a
    // task that another process still works on is not started twice.
    if (!platform::BindToParent() || !HoldTaskLock(processNumber, taskSequence, env)) return;
    TSDRec task;
    CFTSD10M(102, "", processNumber, taskSequence, "", env, task);
    const std::string& status = task.TaskStatus;
    if ((status == "S" || status == "E" || status == "B" || status == "0") && Parts().subMenu) {
        Parts().subMenu(processNumber, taskSequence, task, env);
    }
}

void RunInteractive(EnvRec& env) {
    if (platform::TrimBlanks(ReadSetting("MirControl\\Common\\Init")).empty()) {
        WriteKesenDefaults();
        WriteAllDefaults();
        WriteSetting("MirControl\\Common\\Init", "1");
    }
    const std::string lockPath = env.folder(Folder::Ctrl) + "/" + State().programTitle + ".lock";
    auto lock = std::make_shared<platform::InstanceLock>(lockPath);
    if (!lock->openError().empty()) {
        throw platform::TrappedError(platform::error_number::kPathFileAccess,
                                     platform::StandardErrorDescription(platform::error_number::kPathFileAccess) +
                                         ": " + lockPath + ": " + lock->openError(),
                                     "Main");
    }
    if (!lock->acquired()) {
        ShowWarning("　既に起動されています。　", 48);
        EndProgram();
    }
    State().instanceLock = lock;
    NoteFileDate(1, "DateTrlCdm", env);
    NoteFileDate(30001, "DateTrlMng", env);
    if (Parts().interactiveStart) Parts().interactiveStart();
}

}  // namespace

void Main() {
    RunState& state = State();
    state.procedureId = "Main";
    // A child copy shows no box from its first step on: nobody could answer it.
    const bool child = !platform::TrimBlanks(state.commandLine).empty();
    if (child) InstallUi({std::make_shared<ChildPresenter>(), nullptr, nullptr, nullptr, nullptr});
    EnvRec env;
    try {
        state.TaskPhase = "00";
        state.StartingUp = true;
        state.ExeName = platform::ExecutableName();

        CCENV00M(env);
        SetTaskWorkPaths(0, 0, env);
        LoadLogSwitches(env);
        state.env = env;

        if (HasBlank(env.Path)) {
            ShowMessage(
                "フォルダ名にブランク文字が含まれています。　\r\n"
                "フォルダ名からブランク文字を削除してから再実行してください。　\r\n",
                48);
            EndProgram();
        }
        if (child) {
            RunChild(env);
        } else {
            RunInteractive(env);
        }
    } catch (const platform::TrappedError& error) {
        if (child) FailChildStart(env, error);
        LogVbError("ＶＢエラーを検出しました。　", 16, "Main", error);
        ShowVbErrorMessage("ＶＢエラーを検出しました。　", 16, error);
        WriteAbendLine("Main");
        EndProgram();
    }
}

int ProgramMain(const std::string& programTitle, bool isKorvane, ProgramParts parts,
                const std::string& screensModule, int argc, char** argv) {
    if (argc < 2 || std::string_view(argv[1]) != kChildModeToken) {
        return platform::RunScreensModule(screensModule, argc, argv);
    }
    RunState& state = State();
    state.programTitle = programTitle;
    state.isKorvane = isKorvane;
    std::string words;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) words += ' ';
        words += argv[i];
    }
    state.commandLine = words;
    InstallProgramParts(std::move(parts));
    Main();
    return 0;
}

}  // namespace common
