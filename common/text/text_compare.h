#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace common {

// The one "compare as text" rule of the system. Two texts compare equal as
// text when their normal forms are equal; the normal form ignores
//   - letter case: A-Z, Latin-1 letters (À..Þ except ×), basic Greek and
//     Cyrillic capitals become small letters;
//   - character width: full-width ASCII (U+FF01..U+FF5E) and the ideographic
//     space become ASCII ("ＡＢＣ" = "abc", "１２" = "12", "　" = " "); the
//     full-width signs ￠￡￢￣￤￥￦ and the half-width forms ｟｠│←↑→↓■○ become
//     their ordinary forms; half-width katakana and punctuation (U+FF61..FF9F)
//     become full-width, and a half-width voiced or semi-voiced mark right
//     after a half-width kana that takes it is joined to it ("ｶﾞ" = "ガ",
//     "ﾊﾟ" = "パ", "ｳﾞ" = "ヴ"); a half-width mark anywhere else becomes the
//     full-width spacing mark ゛ or ゜;
//   - kana kind: hiragana become katakana ("ひらがな" = "ヒラガナ", ゝゞ = ヽヾ);
//     the combining marks U+3099/U+309A are joined to a kana before them
//     ("か\u3099" = "ガ").
// Nothing else is folded (no Unicode normalisation beyond the above). A byte
// that is not well-formed UTF-8 stays as it is and equals only itself.

// The normal form, in UTF-8 (malformed bytes copied unchanged).
std::string NormalizeForCompare(std::string_view text);

// True when the two texts are equal as text.
bool TextEquals(std::string_view a, std::string_view b);

// Where `searched` first occurs in `text`, compared as text: `position` is
// 1-based and counts code points of the ORIGINAL `text` (a malformed byte
// counts as one, as in platform/utf8_text.h); `length` is how many original
// code points the occurrence covers ("ｶﾞ" found as "ガ" covers 2). Absent:
// {0, 0}. An empty `searched` is found at 1 with length 0 in a non-empty text
// and not at all in an empty one.
struct TextSpan {
    std::size_t position = 0;
    std::size_t length = 0;
};
TextSpan FindTextSpan(std::string_view text, std::string_view searched);

// FindTextSpan(text, searched).position.
std::size_t FindText(std::string_view text, std::string_view searched);

}  // namespace common
