#include "platform/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <system_error>

#include "platform/iconv_run.h"
#include "platform/utf8_text.h"

namespace platform {
namespace {

// An iconv descriptor carries conversion state, so every thread owns its own.
class Converter {
public:
    // `expansion`: most output bytes one input byte can give.
    Converter(const char* to, const char* from, std::size_t expansion)
        : cd_(iconv_open(to, from)), expansion_(expansion) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::system_error(errno, std::generic_category(),
                                    std::string("iconv_open ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Appends the conversion of `in` to `out`. Where iconv refuses, appends
    // "?" and goes on `skip(rest)` bytes later; returns how often that was.
    template <class Skip>
    std::size_t Convert(std::string_view in, std::string& out, Skip skip) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        bool stopped = false;
        return RunIconv(cd_, in, expansion_, out, skip, stopped);
    }

private:
    iconv_t cd_;
    std::size_t expansion_;
};

Converter& Encoder() {
    thread_local Converter converter("CP932", "UTF-8", 1);
    return converter;
}

Converter& Decoder() {
    // A half-width katakana takes one byte in CP932 and three in UTF-8.
    thread_local Converter converter("UTF-8", "CP932", 3);
    return converter;
}

// End of the ASCII run that starts at `pos`, eight bytes at a time while
// eight remain: most text, even Japanese text, is mostly ASCII.
std::size_t AsciiRunEnd(std::string_view text, std::size_t pos) {
    for (std::uint64_t word = 0; pos + sizeof word <= text.size(); pos += sizeof word) {
        std::memcpy(&word, text.data() + pos, sizeof word);
        if (word & 0x8080808080808080ULL) break;
    }
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
    return pos;
}

bool IsAscii(std::string_view text) { return AsciiRunEnd(text, 0) == text.size(); }

// End of the well-formed UTF-8 run that starts at `pos`.
std::size_t WellFormedEnd(std::string_view text, std::size_t pos) {
    char32_t cp;
    for (std::size_t next = pos;; pos = next) {
        next = pos = AsciiRunEnd(text, pos);
        if (!NextCodePoint(text, next, cp)) return pos;
    }
}

std::size_t CodePointBytes(std::string_view text) {
    std::size_t pos = 0;
    char32_t cp;
    NextCodePoint(text, pos, cp);
    return pos;
}

}  // namespace

std::size_t AppendCp932(std::string_view utf8, std::string& out) {
    if (IsAscii(utf8)) {
        out += utf8;
        return 0;
    }
    // iconv cannot tell bad UTF-8 from an unmappable character, so bad bytes
    // are replaced here and only well-formed runs go to it.
    std::size_t unmappable = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t end = WellFormedEnd(utf8, pos);
        unmappable += Encoder().Convert(utf8.substr(pos, end - pos), out, CodePointBytes);
        pos = end;
        if (pos < utf8.size()) {
            out.push_back('?');
            ++unmappable;
            ++pos;
        }
    }
    return unmappable;
}

EncodeResult ToCp932(std::string_view utf8) {
    EncodeResult result;
    result.bytes.reserve(utf8.size());
    result.unmappable = AppendCp932(utf8, result.bytes);
    return result;
}

DecodeResult FromCp932(std::string_view bytes) {
    DecodeResult result;
    if (IsAscii(bytes)) {
        result.text = bytes;
        return result;
    }
    result.text.reserve(bytes.size() * 2);
    result.invalid =
        Decoder().Convert(bytes, result.text, [](std::string_view) { return std::size_t{1}; });
    return result;
}

std::size_t Cp932Length(std::string_view utf8) {
    return ToCp932(utf8).bytes.size();
}

std::size_t Cp932CharBytes(unsigned char lead) {
    return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
}

}  // namespace platform
