#include "common/text/narrow_text.h"

#include <algorithm>
#include <iterator>

#include "common/text/half_width_kana.h"
#include "platform/utf8_text.h"

namespace common {
namespace {

constexpr char32_t kHalfVoiced = 0xFF9E;
constexpr char32_t kHalfSemiVoiced = 0xFF9F;

// The half-width form of a wide kana or kana sign; 0 when it has none.
char32_t HalfOf(char32_t cp) {
    const auto* found = std::find(std::begin(kWideOfHalfKana), std::end(kWideOfHalfKana), cp);
    if (found == std::end(kWideOfHalfKana)) return 0;
    return kHalfKanaFirst + static_cast<char32_t>(found - std::begin(kWideOfHalfKana));
}

// Bases that take the voiced mark (カ..ト and ハ..ホ), and ハ..ホ also the
// semi-voiced one; the marked forms follow their base at +1 and +2.
bool TakesVoiced(char32_t base) {
    return (base >= 0x30AB && base <= 0x30C1 && base % 2 == 1) || base == 0x30C4 || base == 0x30C6 ||
           base == 0x30C8 || (base >= 0x30CF && base <= 0x30DB && (base - 0x30CF) % 3 == 0);
}
bool TakesSemiVoiced(char32_t base) { return base >= 0x30CF && base <= 0x30DB && (base - 0x30CF) % 3 == 0; }

void AppendNarrow(std::string& out, char32_t cp) {
    if (cp >= 0xFF01 && cp <= 0xFF5E) return platform::AppendUtf8(out, cp - 0xFF01 + 0x21);
    if (cp == 0x3000) return platform::AppendUtf8(out, U' ');
    if (cp == 0xFFE5) return platform::AppendUtf8(out, U'\\');
    if (const char32_t half = HalfOf(cp)) return platform::AppendUtf8(out, half);
    if (cp == 0x30F4) {  // ヴ
        platform::AppendUtf8(out, HalfOf(0x30A6));
        return platform::AppendUtf8(out, kHalfVoiced);
    }
    if (TakesVoiced(cp - 1)) {
        platform::AppendUtf8(out, HalfOf(cp - 1));
        return platform::AppendUtf8(out, kHalfVoiced);
    }
    if (TakesSemiVoiced(cp - 2)) {
        platform::AppendUtf8(out, HalfOf(cp - 2));
        return platform::AppendUtf8(out, kHalfSemiVoiced);
    }
    platform::AppendUtf8(out, cp);
}

}  // namespace

std::string ToNarrow(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        char32_t cp;
        if (platform::NextCodePoint(text, pos, cp)) {
            AppendNarrow(out, cp);
        } else {
            out.append(text.substr(start, pos - start));  // a malformed byte stays as it is
        }
    }
    return out;
}

}  // namespace common
