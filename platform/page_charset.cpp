#include "platform/page_charset.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <optional>

#include "platform/cp932.h"
#include "platform/iconv_run.h"
#include "platform/utf8_text.h"

namespace platform {
namespace {

std::string Lower(std::string_view text) {
    // What tolower makes of each byte value, asked once a call rather than
    // once for every byte of a whole page.
    std::array<char, 256> lowered{};
    for (std::size_t b = 0; b < lowered.size(); ++b) lowered[b] = static_cast<char>(std::tolower(static_cast<int>(b)));
    std::string lower(text.size(), '\0');
    std::transform(text.begin(), text.end(), lower.begin(),
                   [&lowered](char c) { return lowered[static_cast<unsigned char>(c)]; });
    return lower;
}

bool IsLabelChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_' || c == '.' || c == ':';
}

// The label right after the first "charset=" of `lower`, quotes skipped.
std::string LabelAfterCharset(std::string_view lower) {
    const std::size_t at = lower.find("charset=");
    if (at == std::string_view::npos) return "";
    std::size_t pos = at + 8;
    while (pos < lower.size() && (lower[pos] == '"' || lower[pos] == '\'' || lower[pos] == ' ')) ++pos;
    std::size_t end = pos;
    while (end < lower.size() && IsLabelChar(lower[end])) ++end;
    return std::string(lower.substr(pos, end - pos));
}

// The charset of the first meta tag that names one. Meta tags without end
// share the rest of the page, so the ">" and the "charset=" after each tag
// are looked for only when the last ones found lie behind it: one pass.
std::string CharsetOfMetaTag(std::string_view body) {
    const std::string lower = Lower(body);
    const std::string_view text = lower;
    constexpr std::size_t kNone = std::string_view::npos;
    bool first = true;
    std::size_t end = kNone;
    std::size_t charset = kNone;
    std::string label;
    for (std::size_t at = text.find("<meta"); at != kNone; at = text.find("<meta", at + 5), first = false) {
        if (first || (end != kNone && end < at)) end = text.find('>', at);
        if (first || (charset != kNone && charset < at)) {
            charset = text.find("charset=", at);
            label = charset == kNone ? "" : LabelAfterCharset(text.substr(charset));
        }
        if (charset < end && !label.empty()) return label;
    }
    return "";
}

enum class Kind { Utf8, Cp932, Other };

Kind KindOf(const std::string& label) {
    if (label == "utf-8" || label == "utf8") return Kind::Utf8;
    // The Shift_JIS family is read as CP932, its superset in use on the web.
    static constexpr std::string_view kCp932Labels[] = {"shift_jis", "shift-jis", "sjis",  "x-sjis",
                                                        "cp932",     "ms_kanji",  "windows-31j", "csshiftjis"};
    if (std::find(std::begin(kCp932Labels), std::end(kCp932Labels), label) != std::end(kCp932Labels)) {
        return Kind::Cp932;
    }
    return Kind::Other;
}

// `bytes` in the charset `label` as UTF-8, one "?" per byte iconv refuses;
// nullopt when iconv does not know the label, or (strict) at the first refusal.
std::optional<std::string> DecodeWithIconv(const std::string& label, std::string_view bytes, bool strict,
                                           std::size_t& refused) {
    iconv_t cd = iconv_open("UTF-8", label.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    bool stopped = false;
    refused += RunIconv(cd, bytes, 4, out, [strict](std::string_view) -> std::size_t { return strict ? 0 : 1; }, stopped);
    iconv_close(cd);
    if (stopped) return std::nullopt;
    return out;
}

struct Decoded {
    std::string text;
    std::string charset;
    std::size_t refused = 0;
};

Decoded DecodeAs(const std::string& label, std::string_view bytes) {
    Decoded decoded;
    switch (KindOf(label)) {
        case Kind::Utf8:
            // Bad bytes reach the CP932 encoder, which writes and counts them as "?".
            return {std::string(bytes), "utf-8", 0};
        case Kind::Cp932: {
            DecodeResult result = FromCp932(bytes);
            return {std::move(result.text), "cp932", result.invalid};
        }
        case Kind::Other:
            break;
    }
    std::size_t refused = 0;
    if (std::optional<std::string> text = DecodeWithIconv(label, bytes, false, refused)) {
        return {std::move(*text), label, refused};
    }
    return {};
}

// ISO-2022-JP is seven-bit, so it would pass for UTF-8: a seven-bit page that
// switches to a JIS kanji set by its escape sequence is that.
bool IsIso2022Jp(std::string_view bytes) {
    if (bytes.find("\x1B$B") == std::string_view::npos && bytes.find("\x1B$@") == std::string_view::npos) {
        return false;
    }
    return std::none_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

Decoded Detect(std::string_view bytes) {
    if (IsIso2022Jp(bytes)) return DecodeAs("iso-2022-jp", bytes);
    if (IsValidUtf8(bytes)) return {std::string(bytes), "utf-8", 0};
    std::size_t refused = 0;
    if (std::optional<std::string> text = DecodeWithIconv("EUC-JP", bytes, true, refused)) {
        return {std::move(*text), "euc-jp", 0};
    }
    return DecodeAs("cp932", bytes);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
unsigned long DigitValue(char c) {
    return IsDigit(c) ? static_cast<unsigned long>(c - '0') : static_cast<unsigned long>(std::tolower(c) - 'a' + 10);
}

}  // namespace

std::size_t ParseNumericReference(std::string_view text, std::size_t at, char32_t& cp) {
    if (at > text.size() || text.compare(at, 2, "&#") != 0) return at;
    std::size_t pos = at + 2;
    const bool hex = pos < text.size() && (text[pos] == 'x' || text[pos] == 'X');
    if (hex) ++pos;
    const std::size_t digitsStart = pos;
    unsigned long value = 0;
    while (pos < text.size() && (hex ? IsHexDigit(text[pos]) : IsDigit(text[pos])) && pos - digitsStart < 8) {
        value = value * (hex ? 16 : 10) + DigitValue(text[pos]);
        ++pos;
    }
    if (pos == digitsStart || pos >= text.size() || text[pos] != ';') return at;
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return at;
    cp = static_cast<char32_t>(value);
    return pos + 1;
}

std::string DecodeNumericReferences(std::string_view text, bool keepAscii) {
    if (text.find("&#") == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t at = text.find("&#"); at != std::string_view::npos; at = text.find("&#", pos)) {
        out.append(text.substr(pos, at - pos));
        char32_t cp = 0;
        const std::size_t after = ParseNumericReference(text, at, cp);
        if (after == at) {
            out.append("&#");
            pos = at + 2;
        } else if (keepAscii && cp < 0x80) {
            out.append("&#" + std::to_string(static_cast<unsigned long>(cp)) + ";");
            pos = after;
        } else {
            AppendUtf8(out, cp);
            pos = after;
        }
    }
    out.append(text.substr(pos));
    return out;
}

std::string CharsetOfContentType(std::string_view contentType) {
    return LabelAfterCharset(Lower(contentType));
}

PageCp932 PageToCp932(std::string_view body, std::string_view contentType) {
    static constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    std::string label = CharsetOfContentType(contentType);
    if (body.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        body.remove_prefix(kUtf8Mark.size());
        label = "utf-8";
    }
    if (label.empty()) label = CharsetOfMetaTag(body);
    Decoded decoded = label.empty() ? Decoded{} : DecodeAs(label, body);
    if (decoded.charset.empty()) decoded = Detect(body);
    EncodeResult encoded = ToCp932(DecodeNumericReferences(decoded.text, true));
    PageCp932 page{std::move(encoded.bytes), decoded.charset, decoded.refused + encoded.unmappable, {}, 0};
    // CP932 stored as it came reads back as the text it was read as.
    if (decoded.charset == "cp932" && page.bytes == body) {
        page.text = std::move(decoded.text);
    } else {
        DecodeResult back = FromCp932(page.bytes);
        page.text = std::move(back.text);
        page.unreadable = back.invalid;
    }
    return page;
}

}  // namespace platform
