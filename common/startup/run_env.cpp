#include "common/startup/run_env.h"

#include <filesystem>
#include <random>
#include <system_error>

#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/files/text_file_write.h"
#include "common/files/text_file_read.h"
#include "common/screens/ui_seam.h"
#include "platform/file_system.h"
#include "platform/number_format.h"
#include "platform/process_info.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace common {

namespace fs = std::filesystem;

namespace {

std::string Format(long value, const char* format) { return platform::FormatNumber(static_cast<double>(value), format); }

std::string WorkNamePart(long processNumber, long taskSequence) {
    return "/Htm" + Format(processNumber, "000") + Format(taskSequence, "0000");
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

}  // namespace

std::string ProgramFolder() {
    const std::string& set = State().programFolder;
    return set.empty() ? platform::ExecutableFolder().string() : set;
}

void CCENV10M(EnvRec& env) {
    FunctionIdGuard guard("CCENV10M");
    env.commandLine = platform::TrimBlanks(State().commandLine);
    env.argumentCount = 0;
    env.arguments.clear();
    std::size_t start = 0;
    while (start <= env.commandLine.size() && !env.commandLine.empty()) {
        const std::size_t blank = env.commandLine.find(' ', start);
        const std::string piece = env.commandLine.substr(start, blank - start);
        if (!platform::TrimBlanks(piece).empty()) {
            env.arguments.push_back(piece);
            ++env.argumentCount;
        }
        if (blank == std::string::npos) break;
        start = blank + 1;
    }
}

void CCENV00M(EnvRec& env) {
    FunctionIdGuard guard("CCENV00M");
    env.setupFlag = 0;
    env.reserved.fill(0);
    env.currentFileName.clear();
    env.currentFolder.clear();
    CCENV10M(env);
    env.setupFlag = 1;

    const std::string program = ProgramFolder();
    env.Path = program;
    env.MainPath = program;
    env.TaskPath = program;
    env.DataPath = fs::path(program).parent_path().string();
    if (env.DataPath != "/") env.DataPath += "/";
    env.DataPath += "HpData";
    const std::string& data = env.DataPath;
    env.folder(Folder::DataRoot) = data;
    env.folder(Folder::Program) = program;
    env.folder(Folder::Chart) = data + "/Chart";
    env.folder(Folder::Keisen) = data + "/Keisen";
    env.folder(Folder::Split) = data + "/Split";
    env.folder(Folder::User) = data + "/User";
    env.folder(Folder::WebData) = data + "/WebData";
    env.folder(Folder::DispData) = data + "/DispData";
    env.folder(Folder::Ctrl) = program + "/Ctrl";
    env.folder(Folder::Log) = program + "/Log";
    env.folder(Folder::Temp) = program + "/Temp";
    env.folder(Folder::Work) = program + "/Temp";
    env.folder(Folder::Data) = data + "/Data";
    env.folder(Folder::Mining) = data + "/Mining";

    const long tasks = ReadSettingLong(State().isKorvane ? "MirControl\\Common\\MultiTaskKsn"
                                                         : "MirControl\\Common\\MultiTask");
    env.taskCount = tasks < 1 ? 1 : tasks;
    RunState& state = State();
    state.taskCount = env.taskCount;
    state.currentTask = 0;
    state.taskPaths.assign(static_cast<std::size_t>(env.taskCount) + 1, program);

    CFDIR11M(env);
}

void CFDIR11M(EnvRec& env) {
    FunctionIdGuard guard("CFDIR11M");
    CFDIR21M(env.DataPath, "", "", 16);
    for (const Folder f : {Folder::Chart, Folder::Keisen, Folder::Split, Folder::User, Folder::WebData,
                           Folder::DispData, Folder::Ctrl, Folder::Log, Folder::Temp}) {
        CFDIR21M(env.folder(f), "", "", 16);
    }
}

void CFDIR21M(const std::string& base, const std::string& namePart, const std::string&, int) {
    FunctionIdGuard guard("CFDIR21M");
    const std::string path = base + namePart;
    if (IsFolder(path)) return;
    std::error_code ec;
    if (!fs::create_directory(path, ec) && !IsFolder(path)) {
        platform::RaiseFileError(platform::error_number::kPathNotFound, path, ec, "CFDIR21M");
    }
}

void CFDIRD0M(const std::string& base, const std::string& namePart, const std::string&, int) {
    FunctionIdGuard guard("CFDIRD0M");
    const std::string path = base + namePart;
    if (!IsFolder(path)) return;
    std::error_code ec;
    if (!fs::remove(path, ec)) {
        platform::RaiseFileError(platform::error_number::kPathFileAccess, path, ec, "CFDIRD0M");
    }
}

platform::DateTime CFILUD0M(const std::string& path) {
    FunctionIdGuard guard("CFILUD0M");
    const std::optional<platform::DateTime> modified = platform::FileModifiedTime(path);
    if (!modified) {
        platform::RaiseFileError(platform::error_number::kFileNotFound, path,
                                 std::make_error_code(std::errc::no_such_file_or_directory), "CFILUD0M");
    }
    return *modified;
}

bool GetDataFileDate(long fileNumber, long processNumber, long sequence, const std::string& namePart,
                     const std::string& extension, platform::DateTime& dateTime, EnvRec& env) {
    const std::string trimmed = platform::TrimBlanks(extension);
    const std::string path =
        CFFIL02M({fileNumber, processNumber, sequence, namePart, trimmed.empty() ? CFFIL03M(fileNumber) : trimmed}, env);
    if (!CFFIL10M(path, "")) return false;
    dateTime = CFILUD0M(path);
    return true;
}

std::string TaskWorkFolder(const EnvRec& env, long processNumber, long taskSequence) {
    return env.folder(Folder::Temp) + WorkNamePart(processNumber, taskSequence);
}

void RemoveWorkFolder(const std::string& folder) {
    for (const std::string& name : platform::ListMatching(folder, "*")) CFFIL70M(folder + "/" + name);
    CFDIRD0M(folder, "", "", 16);
}

void SetTaskWorkPaths(long processNumber, long taskSequence, EnvRec& env) {
    RunState& state = State();
    state.processNumber = processNumber;
    state.taskSequence = taskSequence;
    state.taskSequenceText = std::to_string(taskSequence);
    EnvRec copy = env;

    state.workNamePart = WorkNamePart(processNumber, taskSequence);
    env.folder(Folder::Work) = TaskWorkFolder(env, processNumber, taskSequence);
    CFDIR21M(env.folder(Folder::Temp), state.workNamePart, "", 16);

    state.runLogPath = CFFIL02M({3, processNumber, taskSequence, "", CFFIL03M(3)}, copy);
    state.errorLogPath = CFFIL02M({4, processNumber, taskSequence, "", CFFIL03M(4)}, copy);
    for (const long number : {10006, 10001, 10002, 10003, 10004, 10005}) {
        state.fetchWorkPaths[static_cast<std::size_t>(number - 10000)] =
            CFFIL02M({number, processNumber, taskSequence, "", ""}, copy);
    }
    state.fetchedPageFileName = copy.currentFileName;
    state.fetchedPageFolder = copy.currentFolder;
}

void GetNowNumbers(long& date, long& time) {
    const platform::DateTime now = platform::Now();
    date = now.date.year * 10000L + now.date.month * 100L + now.date.day;
    time = now.hour * 10000L + now.minute * 100L + now.second;
}

void CCRND000() {
    try {
        std::mt19937 random(std::random_device{}());
        std::uniform_real_distribution<double> uniform(0.0, 1.0);
        std::string text;
        char previous = 1;
        while (text.size() < 1000) {
            const char c = static_cast<char>(static_cast<int>(uniform(random) * 75 + 48));
            const bool usable = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            if (!usable || c == previous) continue;
            text += c;
            previous = c;
        }
        CFFIL31M(text, (fs::current_path() / "Rnd.txt").string());
    } catch (const platform::TrappedError& error) {
        LogVbError("ＶＢエラーを検出しました。　", 16, "CCRND000", error);
        ShowVbErrorMessage("ＶＢエラーを検出しました。　", 16, error);
        EndProgram();
    }
}

}  // namespace common
