#include "platform/field_text.h"

#include <algorithm>
#include <cstddef>

namespace platform {

namespace {

// The C1 controls are C2 80 to C2 9F in UTF-8, so a C2 byte only may start one.
constexpr unsigned char kC1Lead = 0xC2;

bool MayStartControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || byte == kC1Lead;
}

// The byte length of the control character at `at`, a byte that may start
// one; 0 when it starts none.
std::size_t ControlLength(std::string_view text, std::size_t at) {
    if (static_cast<unsigned char>(text[at]) != kC1Lead) return 1;
    if (at + 1 == text.size()) return 0;
    const auto next = static_cast<unsigned char>(text[at + 1]);
    return next >= 0x80 && next <= 0x9F ? 2 : 0;
}

}  // namespace

void AppendFieldText(std::string& line, std::string_view text) {
    std::size_t from = 0;  // the first byte not yet appended
    for (std::size_t at = 0;;) {
        at = static_cast<std::size_t>(std::find_if(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(),
                                                   MayStartControl) -
                                      text.begin());
        if (at == text.size()) break;
        const std::size_t length = ControlLength(text, at);
        if (length == 0) {
            ++at;
            continue;
        }
        line.append(text.substr(from, at - from));
        line += ' ';
        at += length;
        from = at;
    }
    line.append(text.substr(from));
}

}  // namespace platform
