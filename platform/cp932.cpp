#include "platform/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
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

// CP932 decoded a character at a time from tables that iconv itself fills,
// each entry when it is first needed: what a single byte gives and, after a
// byte that iconv takes only with a second one, what the pair gives. So the
// tables say what iconv says, for a lookup a character instead of a call of
// iconv a text.
class DecodeTable {
public:
    // As Converter::Convert decodes: a byte that starts no character gives
    // "?" and the decoding goes on at the next byte. Writes at `out`, which
    // has room for three bytes a byte and one more, and moves it past the
    // text. Returns how often a byte was refused, or nothing where iconv
    // answered in a way the tables cannot hold.
    std::optional<std::size_t> Decode(std::string_view bytes, char*& out) {
        std::size_t refused = 0;
        for (std::size_t i = 0; i < bytes.size();) {
            const auto first = static_cast<unsigned char>(bytes[i]);
            if (first < 0x80) {
                // ASCII reads as itself, as in a text of ASCII alone.
                const std::size_t end = AsciiRunEnd(bytes, i);
                std::memcpy(out, bytes.data() + i, end - i);
                out += end - i;
                i = end;
                continue;
            }
            const Char* c = &Single(first);
            if (c->taken == 0) {
                // A lead byte (or one iconv refuses whatever follows): the pair decides.
                c = i + 1 < bytes.size() ? &Pair(first, static_cast<unsigned char>(bytes[i + 1])) : nullptr;
            }
            if (c != nullptr && c->odd) return std::nullopt;
            if (c == nullptr || c->taken == 0) {
                *out++ = '?';
                ++refused;
                ++i;
                continue;
            }
            // All four bytes at once, a single store; the room of three bytes
            // a byte and one more holds what lies past the character.
            std::memcpy(out, c->utf8.data(), c->utf8.size());
            out += c->size;
            i += c->taken;
        }
        return refused;
    }

private:
    struct Char {
        std::array<char, 4> utf8{};
        std::uint8_t size = 0;
        std::uint8_t taken = 0;  // bytes of the character; 0 when iconv refuses its first byte
        bool known = false;
        bool odd = false;  // neither one character of all the bytes nor a refusal
    };
    using Row = std::array<Char, 256>;

    // What iconv makes of `bytes` (one or two) on their own.
    static Char Ask(const std::string& bytes) {
        std::string text;
        const std::size_t refused =
            Decoder().Convert(bytes, text, [](std::string_view) { return std::size_t{1}; });
        Char c;
        c.known = true;
        if (refused != 0 && text.rfind('?', 0) == 0) return c;
        std::size_t end = 0;
        char32_t cp = 0;
        // More than three bytes a byte would overrun the room Decode writes in.
        if (refused != 0 || !NextCodePoint(text, end, cp) || end != text.size() || text.size() > 3 * bytes.size()) {
            c.odd = true;
            return c;
        }
        std::copy(text.begin(), text.end(), c.utf8.begin());
        c.size = static_cast<std::uint8_t>(text.size());
        c.taken = static_cast<std::uint8_t>(bytes.size());
        return c;
    }

    const Char& Single(unsigned char byte) {
        Char& c = singles_[byte];
        if (!c.known) c = Ask(std::string(1, static_cast<char>(byte)));
        return c;
    }

    const Char& Pair(unsigned char lead, unsigned char trail) {
        std::unique_ptr<Row>& row = pairs_[lead];
        if (!row) row = std::make_unique<Row>();
        Char& c = (*row)[trail];
        if (!c.known) c = Ask(std::string{static_cast<char>(lead), static_cast<char>(trail)});
        return c;
    }

    Row singles_;
    std::array<std::unique_ptr<Row>, 256> pairs_;
};

DecodeTable& Decoding() {
    thread_local DecodeTable table;
    return table;
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

// Appends the well-formed `text` in CP932, returning the count of "?": a
// long ASCII run as it is, the rest through iconv, so that a page of markup
// with a few words of Japanese is not handed to iconv whole.
std::size_t AppendWellFormedCp932(std::string_view text, std::string& out) {
    constexpr std::size_t kLongAsciiRun = 32;
    std::size_t unmappable = 0;
    std::size_t pending = 0;  // where the text not yet appended starts
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = AsciiRunEnd(text, pos);
        if (end - pos >= kLongAsciiRun) {
            if (pending < pos) unmappable += Encoder().Convert(text.substr(pending, pos - pending), out, CodePointBytes);
            out.append(text.substr(pos, end - pos));
            pending = end;
        }
        pos = end == text.size() ? end : end + CodePointBytes(text.substr(end));
    }
    if (pending < text.size()) unmappable += Encoder().Convert(text.substr(pending), out, CodePointBytes);
    return unmappable;
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
        unmappable += AppendWellFormedCp932(utf8.substr(pos, end - pos), out);
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
    result.invalid = AppendFromCp932(bytes, result.text);
    return result;
}

std::size_t AppendFromCp932(std::string_view bytes, std::string& out) {
    if (IsAscii(bytes)) {
        out += bytes;
        return 0;
    }
    // Decoded into room for the longest text the bytes can give, then
    // appended: the text takes only the room it needs.
    thread_local std::string decoded;
    decoded.resize(bytes.size() * 3 + 1);
    char* end = decoded.data();
    if (const std::optional<std::size_t> refused = Decoding().Decode(bytes, end)) {
        out.append(decoded.data(), end);
        return *refused;
    }
    return Decoder().Convert(bytes, out, [](std::string_view) { return std::size_t{1}; });
}

std::size_t Cp932Length(std::string_view utf8) {
    return ToCp932(utf8).bytes.size();
}

std::size_t Cp932CharBytes(unsigned char lead) {
    return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
}

}  // namespace platform
