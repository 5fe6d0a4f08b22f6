#include "common/files/text_file_write.h"

#include "common/files/text_file_io.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "platform/file_system.h"

namespace common {

void CFFIL30M(std::span<const std::string> lines, const std::string& path) {
    FunctionIdGuard guard("CFFIL30M");
    platform::AtomicReplace(path, EncodeLines(lines, path));
}

void CFFIL31M(const std::string& text, const std::string& path) {
    FunctionIdGuard guard("CFFIL31M");
    RunState& state = State();
    state.errFileName = path;
    state.errStep = "Open";
    const std::string bytes = EncodeLines(std::span(&text, 1), path);
    // Opening, writing and closing happen in one atomic replacement.
    state.errStep = "Print";
    platform::AtomicReplace(path, bytes);
    state.errStep = "Close";
}

void CFFIL32M(std::span<const std::string> lines, const std::string& path) {
    FunctionIdGuard guard("CFFIL32M");
    AppendFileBytes(path, EncodeLines(lines, path));
}

void AppendLineToFile(const std::string& path, const std::string& text) {
    AppendFileBytes(path, EncodeLines(std::span(&text, 1), path));
}

void CFFIL35M(MSGRec& msg, const std::string& path, std::span<const std::string> lines) {
    FunctionIdGuard guard("CFFIL35M");
    if (lines.empty()) return;
    const long count = static_cast<long>(lines.size());
    const long step = LineProgressStep(count);
    msg.lngNumerator = 0;
    msg.lngDenominator = count;
    ShowStagedProgress(msg);
    platform::AtomicReplace(path, EncodeLines(lines, path, [&](std::size_t linesWritten) {
                                const long i = static_cast<long>(linesWritten) + 1;
                                if (i % step == 0) {
                                    msg.lngNumerator = i;
                                    ShowStagedProgress(msg);
                                }
                            }));
}

}  // namespace common
