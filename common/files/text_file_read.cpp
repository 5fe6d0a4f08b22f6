#include "common/files/text_file_read.h"

#include "common/files/text_file_io.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "platform/file_system.h"

namespace common {

bool CFFIL10M(const std::string& path, const std::string& label) {
    FunctionIdGuard guard("CFFIL10M");
    RunState& state = State();
    state.missingFilePath.clear();
    if (platform::FileExists(path)) return true;
    state.missingFilePath = path;
    if (!label.empty()) {
        const std::string message = "ファイル[ " + label + " ]" + "が存在しません。" + "\r\n";
        WriteErrorLog(state.errorLogOn, "CFFIL10M", log_tag::kErrApl, "00", message);
        WriteErrorLog(state.errorLogOn, "CFFIL10M", log_tag::kErrApl, "00", path);
        ShowMessage(message, 16);
    }
    return false;
}

void CFFIL20M(const std::string& path, std::vector<std::string>& lines) {
    FunctionIdGuard guard("CFFIL20M");
    lines = DecodeLines(ReadFileBytes(path), path);
}

bool CFFIL21M(const std::string& path, std::vector<std::string>& lines) {
    FunctionIdGuard guard("CFFIL21M");
    lines.clear();
    if (!CFFIL10M(path, "")) return false;
    CFFIL20M(path, lines);
    return !lines.empty();
}

bool CFFIL23M(const std::string& path, std::string& text) {
    FunctionIdGuard guard("CFFIL23M");
    text.clear();
    if (!CFFIL10M(path, "")) return false;
    text = DecodeText(ReadFileBytes(path), path);
    return !text.empty();
}

void CFFIL25M(MSGRec& msg, long expectedCount, std::vector<std::string>& lines, const std::string& path) {
    FunctionIdGuard guard("CFFIL25M");
    msg.lngNumerator = 0;
    msg.lngDenominator = expectedCount;
    ShowStagedProgress(msg);
    const long step = LineProgressStep(expectedCount);
    lines = DecodeLines(ReadFileBytes(path), path, [&](std::size_t linesRead) {
        const long k = static_cast<long>(linesRead);
        if (k % step == 0) {
            msg.lngNumerator = k;
            ShowStagedProgress(msg);
        }
    });
}

long UpperBoundOrZero(const std::vector<std::string>& lines) { return static_cast<long>(lines.size()); }

}  // namespace common
