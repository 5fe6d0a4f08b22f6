#include "common/files/data_file.h"

#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "platform/utf8_text.h"

namespace common {

namespace {

// Deletes the files whose names start with the path `req` gives for name part "*".
void DeleteMatching(FilePathReq req, EnvRec& env, bool withDebugLines) {
    const std::string ownId = State().functionId;
    const auto debug = [&](const char* code, const std::string& message) {
        if (withDebugLines) WriteInfoLog(LogSwitch(10), ownId, log_tag::kDebug, code, message);
    };
    req.Concati = "*";
    req.FileExt = "";
    const std::string pattern = CFFIL02M(req, env);
    const std::string folder = env.currentFolder;
    debug("01", "FullPath=" + folder);
    debug("02", "wFNameW =" + pattern);
    std::string match = CFFIL11M(pattern);
    debug("03", ownId + "FullPath=" + folder);
    debug("04", ownId + "OtFile  =" + match);
    while (!match.empty()) {
        debug("05", ownId + "OtFile  =" + folder + "/" + match);
        CFFIL70M(folder + "/" + match);
        match = CFFIL12M();
    }
}

// Opens one stage of the progress display when the caller has none running.
void BeginStage(MSGRec& msg) {
    if (msg.StageCount < 1) {
        msg.StageCount = 1;
        msg.StagesDone = 0;
    }
    ShowStagedProgress(msg);
}

void EndStage(MSGRec& msg, std::size_t count) {
    msg.lngNumerator = static_cast<long>(count);
    ++msg.StagesDone;
    ShowStagedProgress(msg);
}

}  // namespace

std::string BuildDataFilePath(long FNameIdx, long ProcIdx, long FNameSeq, const std::string& namePart,
                              const std::string& extension, EnvRec& env) {
    std::string ext = platform::TrimBlanks(extension);
    if (ext.empty()) ext = CFFIL03M(FNameIdx);
    return CFFIL02M({FNameIdx, ProcIdx, FNameSeq, namePart, ext}, env);
}

bool FindDataFile(long FNameIdx, long ProcIdx, long FNameSeq, const std::string& namePart,
                  const std::string& extension, EnvRec& env, std::string& path) {
    path = BuildDataFilePath(FNameIdx, ProcIdx, FNameSeq, namePart, extension, env);
    if (CFFIL10M(path, "")) return true;
    path.clear();
    return false;
}

void CFFIL75M(long FNameIdx, long ProcIdx, EnvRec& env) {
    FunctionIdGuard guard("CFFIL75M");
    DeleteMatching({FNameIdx, ProcIdx, 0, "", ""}, env, true);
}

void CFFIL76M(long FNameIdx, long ProcIdx, long FNameSeq, EnvRec& env) {
    FunctionIdGuard guard("CFFIL76M");
    DeleteMatching({FNameIdx, ProcIdx, FNameSeq, "", ""}, env, false);
}

void DeleteDataFile(long FNameIdx, long ProcIdx, long FNameSeq, const std::string& namePart,
                    const std::string& extension, EnvRec& env) {
    std::string path;
    if (FindDataFile(FNameIdx, ProcIdx, FNameSeq, namePart, extension, env, path)) CFFIL70M(path);
}

bool CFTMP10M(MSGRec& msg, long FNameIdx, long ProcIdx, long FNameSeq, const std::string& namePart,
              const std::string& extension, long expectedCount, EnvRec& env, std::vector<std::string>& lines) {
    FunctionIdGuard guard("CFTMP10M");
    lines.clear();
    std::string path;
    if (!FindDataFile(FNameIdx, ProcIdx, FNameSeq, namePart, extension, env, path)) return false;
    BeginStage(msg);
    CFFIL25M(msg, expectedCount, lines, path);
    EndStage(msg, lines.size());
    return !lines.empty();
}

bool CFTMP30M(MSGRec& msg, long FNameIdx, long ProcIdx, long FNameSeq, const std::string& namePart,
              const std::string& extension, EnvRec& env, const std::vector<std::string>& lines) {
    FunctionIdGuard guard("CFTMP30M");
    const std::string path = BuildDataFilePath(FNameIdx, ProcIdx, FNameSeq, namePart, extension, env);
    BeginStage(msg);
    CFFIL35M(msg, path, lines);
    EndStage(msg, lines.size());
    return !lines.empty();
}

}  // namespace common
