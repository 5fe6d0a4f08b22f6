#include "common/text/text_compare.h"

#include <algorithm>
#include <vector>

#include "common/text/half_width_kana.h"
#include "platform/utf8_text.h"

namespace common {
namespace {

// A malformed byte b is carried as kMalformedBase + b, outside Unicode, so it
// equals only the same byte.
constexpr char32_t kMalformedBase = 0x110000;

constexpr char32_t kCombiningVoiced = 0x3099;
constexpr char32_t kCombiningSemiVoiced = 0x309A;
constexpr char32_t kHalfVoiced = 0xFF9E;
constexpr char32_t kHalfSemiVoiced = 0xFF9F;


bool IsHalfWidthKana(char32_t cp) { return cp >= kHalfKanaFirst && cp <= kHalfKanaLast; }

// Width: one character to its ordinary (ASCII or full-width kana) form.
char32_t FoldWidth(char32_t cp) {
    if (cp >= 0xFF01 && cp <= 0xFF5E) return cp - 0xFF01 + 0x21;
    if (cp == 0x3000) return U' ';
    if (IsHalfWidthKana(cp)) return kWideOfHalfKana[cp - kHalfKanaFirst];
    switch (cp) {
        case 0xFF5F: return 0x2985;  // ｟
        case 0xFF60: return 0x2986;  // ｠
        case 0xFFE0: return 0x00A2;  // ￠
        case 0xFFE1: return 0x00A3;  // ￡
        case 0xFFE2: return 0x00AC;  // ￢
        case 0xFFE3: return 0x00AF;  // ￣
        case 0xFFE4: return 0x00A6;  // ￤
        case 0xFFE5: return 0x00A5;  // ￥
        case 0xFFE6: return 0x20A9;  // ￦
        case 0xFFE8: return 0x2502;  // half-width │
        case 0xFFE9: return 0x2190;  // half-width ←
        case 0xFFEA: return 0x2191;  // half-width ↑
        case 0xFFEB: return 0x2192;  // half-width →
        case 0xFFEC: return 0x2193;  // half-width ↓
        case 0xFFED: return 0x25A0;  // half-width ■
        case 0xFFEE: return 0x25CB;  // half-width ○
        default: return cp;
    }
}

char32_t FoldCase(char32_t cp) {
    if (cp >= U'A' && cp <= U'Z') return cp + 0x20;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;
    if (cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) return cp + 0x20;
    if (cp >= 0x410 && cp <= 0x42F) return cp + 0x20;
    if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;
    return cp;
}

char32_t FoldKana(char32_t cp) {
    if (cp >= 0x3041 && cp <= 0x3096) return cp + 0x60;  // ぁ..ゖ -> ァ..ヶ
    if (cp == 0x309D || cp == 0x309E) return cp + 0x60;  // ゝゞ -> ヽヾ
    return cp;
}

// The katakana `base` joined with a voiced (semi = false) or semi-voiced mark,
// or 0 when no such character exists.
char32_t JoinMark(char32_t base, bool semi) {
    if (semi) {
        switch (base) {
            case 0x30CF: case 0x30D2: case 0x30D5: case 0x30D8: case 0x30DB:  // ハヒフヘホ
                return base + 2;
            default:
                return 0;
        }
    }
    if (base >= 0x30AB && base <= 0x30C2 && base % 2 == 1) return base + 1;  // カ..チ
    switch (base) {
        case 0x30C4: case 0x30C6: case 0x30C8:                                // ツテト
        case 0x30CF: case 0x30D2: case 0x30D5: case 0x30D8: case 0x30DB:      // ハヒフヘホ
        case 0x30FD:                                                          // ヽ
            return base + 1;
        case 0x30A6: return 0x30F4;  // ウ -> ヴ
        case 0x30EF: return 0x30F7;  // ワ -> ヷ
        case 0x30F0: return 0x30F8;  // ヰ -> ヸ
        case 0x30F1: return 0x30F9;  // ヱ -> ヹ
        case 0x30F2: return 0x30FA;  // ヲ -> ヺ
        default: return 0;
    }
}

// One character of the normal form and the original characters it stands for.
struct NormChar {
    char32_t cp;
    std::size_t origIndex;  // 0-based, in code points of the original text
    std::size_t origCount;  // 1, or 2 for a kana joined with its mark
};

std::vector<NormChar> Normalize(std::string_view text) {
    std::vector<NormChar> out;
    out.reserve(text.size());
    bool lastWasHalfKana = false;  // the previous original character, for joining
    std::size_t index = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        char32_t cp;
        if (!platform::NextCodePoint(text, pos, cp)) {
            out.push_back({kMalformedBase + static_cast<unsigned char>(text[start]), index++, 1});
            lastWasHalfKana = false;
            continue;
        }
        const bool halfKana = IsHalfWidthKana(cp);
        const bool combining = cp == kCombiningVoiced || cp == kCombiningSemiVoiced;
        const bool halfMark = cp == kHalfVoiced || cp == kHalfSemiVoiced;
        if (!out.empty() && (combining || (halfMark && lastWasHalfKana))) {
            const bool semi = cp == kCombiningSemiVoiced || cp == kHalfSemiVoiced;
            NormChar& previous = out.back();
            if (previous.origCount == 1) {
                if (const char32_t joined = JoinMark(previous.cp, semi)) {
                    previous.cp = joined;
                    previous.origCount = 2;
                    ++index;
                    lastWasHalfKana = false;
                    continue;
                }
            }
        }
        out.push_back({FoldKana(FoldCase(FoldWidth(cp))), index++, 1});
        lastWasHalfKana = halfKana && !halfMark;
    }
    return out;
}

bool SameChars(const std::vector<NormChar>& a, const std::vector<NormChar>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const NormChar& x, const NormChar& y) { return x.cp == y.cp; });
}

}  // namespace

std::string NormalizeForCompare(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const NormChar& c : Normalize(text)) {
        if (c.cp >= kMalformedBase) {
            out.push_back(static_cast<char>(c.cp - kMalformedBase));
        } else {
            platform::AppendUtf8(out, c.cp);
        }
    }
    return out;
}

bool TextEquals(std::string_view a, std::string_view b) {
    if (a == b) return true;
    return SameChars(Normalize(a), Normalize(b));
}

TextSpan FindTextSpan(std::string_view text, std::string_view searched) {
    if (searched.empty()) {
        return text.empty() ? TextSpan{} : TextSpan{1, 0};
    }
    const std::vector<NormChar> haystack = Normalize(text);
    const std::vector<NormChar> needle = Normalize(searched);
    const auto found = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                                   [](const NormChar& x, const NormChar& y) { return x.cp == y.cp; });
    if (found == haystack.end()) return {};
    const NormChar& last = *(found + static_cast<std::ptrdiff_t>(needle.size()) - 1);
    return {found->origIndex + 1, last.origIndex + last.origCount - found->origIndex};
}

std::size_t FindText(std::string_view text, std::string_view searched) {
    return FindTextSpan(text, searched).position;
}

}  // namespace common
