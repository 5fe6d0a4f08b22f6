#include "common/files/hand_edited_file.h"

#include <algorithm>
#include <string_view>

#include "common/files/text_file_io.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/logs/message_style.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "platform/cp932.h"
#include "platform/utf8_text.h"

namespace common {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool HasNonAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

// The lines of UTF-8 text: CR LF or a lone LF ends a line, and a last line
// without a line end counts.
std::vector<std::string> Utf8Lines(std::string_view text) {
    std::vector<std::string> lines;
    std::vector<std::string_view> pieces = platform::SplitAt(text, '\n');
    if (pieces.back().empty()) pieces.pop_back();
    for (std::string_view piece : pieces) {
        if (piece.ends_with('\r')) piece.remove_suffix(1);
        lines.emplace_back(piece);
    }
    return lines;
}

// The 1-based number of the first line holding a byte that is not CP932; 0
// when there is none.
std::size_t FirstLineNotCp932(std::string_view bytes) {
    std::size_t number = 1;
    for (std::size_t start = 0; start < bytes.size(); ++number) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        if (platform::FromCp932(bytes.substr(start, end - start)).invalid > 0) return number;
        start = end + 1;
    }
    return 0;
}

void RefuseFile(const std::string& path, std::size_t line) {
    const std::string where = path + "　" + std::to_string(line) + "行目";
    WriteErrorLog(State().errorLogOn, State().procedureId, log_tag::kWarning, "00",
                  "CP932 でも UTF-8 でもないファイルを読み込みませんでした。　" + where);
    ShowWarning("次のファイルは文字コードが CP932（シフトJIS）でも UTF-8 でもないため、読み込みませんでした。　\r\n\r\n" +
                    where + "\r\n\r\nCP932 または UTF-8 で保存し直してから再実行して下さい。　",
                msg_style::kExclamation);
}

}  // namespace

bool ReadHandEditedFile(const std::string& path, std::vector<std::string>& lines) {
    FunctionIdGuard guard("ReadHandEditedFile");
    lines.clear();
    const std::string bytes = ReadFileBytes(path);
    std::string_view text = bytes;
    const bool marked = text.starts_with(kUtf8Mark);
    if (marked) text.remove_prefix(kUtf8Mark.size());
    if ((marked || HasNonAscii(text)) && platform::IsValidUtf8(text)) {
        CFFIL30M(Utf8Lines(text), path);
        WriteRunLog(LogSwitch(1), State().procedureId, log_tag::kInfo, "00",
                    "UTF-8 のファイルを CP932 に書き直しました。　" + path);
        // What every later reader sees: a character CP932 cannot hold reads as "?".
        lines = DecodeLines(ReadFileBytes(path), path);
        return true;
    }
    if (const std::size_t line = FirstLineNotCp932(bytes); line > 0) {
        RefuseFile(path, line);
        return false;
    }
    lines = DecodeLines(bytes, path);
    return true;
}

}  // namespace common
