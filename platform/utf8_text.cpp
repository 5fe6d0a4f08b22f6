#include "platform/utf8_text.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "platform/byte_words.h"
#include "platform/cp932.h"

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kBlanks = " \t\r\n";

// Byte position `n` characters after `pos`, or the end.
std::size_t SkipChars(std::string_view text, std::size_t pos, std::size_t n) {
    char32_t cp;
    for (; n > 0 && pos < text.size(); --n) {
        NextCodePoint(text, pos, cp);
    }
    return pos;
}

std::string Repeat(char32_t fill, std::size_t n) {
    std::string out;
    for (; n > 0; --n) {
        AppendUtf8(out, fill);
    }
    return out;
}

std::string PadChars(std::string_view text, std::size_t width, char32_t fill, bool onLeft) {
    const std::size_t count = CharCount(text);
    if (count >= width) {
        return std::string(text.substr(0, SkipChars(text, 0, width)));
    }
    const std::string padding = Repeat(fill, width - count);
    return onLeft ? padding + std::string(text) : std::string(text) + padding;
}

struct Cp932Cut {
    std::size_t end;    // bytes of the UTF-8 prefix kept
    std::size_t bytes;  // its size in CP932
};

Cp932Cut CutForCp932(std::string_view utf8, std::size_t maxBytes) {
    const std::string encoded = ToCp932(utf8).bytes;
    if (encoded.size() <= maxBytes) {
        return {utf8.size(), encoded.size()};
    }
    // Every character, and every invalid byte, becomes exactly one CP932
    // character, so both texts can be walked side by side.
    Cp932Cut cut{0, 0};
    char32_t cp;
    for (;;) {
        const std::size_t len = Cp932CharBytes(static_cast<unsigned char>(encoded[cut.bytes]));
        if (cut.bytes + len > maxBytes) {
            return cut;
        }
        cut.bytes += len;
        NextCodePoint(utf8, cut.end, cp);
    }
}

}  // namespace

bool NextCodePoint(std::string_view text, std::size_t& pos, char32_t& cp) {
    cp = kReplacement;
    if (pos >= text.size()) {
        return false;
    }
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byteAt(pos);
    if (lead < 0x80) {
        cp = lead;
        ++pos;
        return true;
    }
    std::size_t len = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        len = 2, value = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3, value = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4, value = lead & 0x07, smallest = 0x10000;
    }
    bool ok = len > 0 && text.size() - pos >= len;
    for (std::size_t i = 1; ok && i < len; ++i) {
        const unsigned char next = byteAt(pos + i);
        ok = (next & 0xC0) == 0x80;
        value = (value << 6) | (next & 0x3F);
    }
    ok = ok && value >= smallest && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
    if (!ok) {
        ++pos;
        return false;
    }
    cp = value;
    pos += len;
    return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = kReplacement;
    }
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool IsValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    char32_t cp;
    while (pos < text.size()) {
        if (!NextCodePoint(text, pos, cp)) return false;
    }
    return true;
}

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    char32_t cp;
    for (std::size_t pos = 0; pos < text.size(); ++count) {
        NextCodePoint(text, pos, cp);
    }
    return count;
}

std::string LeftChars(std::string_view text, std::size_t n) {
    return std::string(text.substr(0, SkipChars(text, 0, n)));
}

std::string RightChars(std::string_view text, std::size_t n) {
    const std::size_t count = CharCount(text);
    return std::string(text.substr(n >= count ? 0 : SkipChars(text, 0, count - n)));
}

std::string MidChars(std::string_view text, std::size_t start1, std::optional<std::size_t> n) {
    if (start1 == 0) {
        throw std::invalid_argument("MidChars: the first character is 1");
    }
    const std::size_t begin = SkipChars(text, 0, start1 - 1);
    const std::size_t end = n ? SkipChars(text, begin, *n) : text.size();
    return std::string(text.substr(begin, end - begin));
}

std::string PadRightChars(std::string_view text, std::size_t width, char32_t fill) {
    return PadChars(text, width, fill, false);
}

std::string PadLeftChars(std::string_view text, std::size_t width, char32_t fill) {
    return PadChars(text, width, fill, true);
}

std::string CutToCp932Bytes(std::string_view utf8, std::size_t maxBytes) {
    return std::string(utf8.substr(0, CutForCp932(utf8, maxBytes).end));
}

std::string PadToCp932Bytes(std::string_view utf8, std::size_t width) {
    const Cp932Cut cut = CutForCp932(utf8, width);
    std::string out(utf8.substr(0, cut.end));
    out.append(width - cut.bytes, ' ');
    return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::string TrimBlanks(std::string_view text) { return std::string(TrimmedBlanks(text)); }

std::string_view TrimmedBlanks(std::string_view text) {
    // The bytes of kBlanks, tested in place: most texts have no blank at
    // either end, which two tests then tell.
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t first = 0;
    while (first < text.size() && blank(text[first])) ++first;
    std::size_t end = text.size();
    while (end > first && blank(text[end - 1])) --end;
    return text.substr(first, end - first);
}

std::string TrimLeft(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string TrimRight(std::string_view text) {
    const std::size_t last = text.find_last_not_of(kBlanks);
    return std::string(text.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
    // Record lines have hundreds of mostly short fields: one counting pass
    // sizes the result, and the separators are found eight bytes at a time,
    // where a search call per field and the vector's regrowth would cost
    // more than the cutting.
    std::vector<std::string_view> pieces;
    pieces.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), separator)) + 1);
    const char* start = text.data();
    const char* const end = start + text.size();
    const auto cutAt = [&](const char* at) {
        pieces.emplace_back(start, static_cast<std::size_t>(at - start));
        start = at + 1;
    };
    const char* p = start;
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        for (std::uint64_t marks = BytesEqualTo(word, separator); marks != 0; marks &= marks - 1) {
            cutAt(p + std::countr_zero(marks) / 8);
        }
    }
    for (; p != end; ++p) {
        if (*p == separator) cutAt(p);
    }
    pieces.emplace_back(start, static_cast<std::size_t>(end - start));
    return pieces;
}

}  // namespace platform
