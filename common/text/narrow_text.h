#pragma once
#include <string>
#include <string_view>

namespace common {

// The text with its wide characters in their narrow (half-width) forms, as
// pages write telephone numbers and names in either: full-width ASCII and
// the ideographic space become ASCII, ￥ the backslash (the yen sign of code
// page 932), katakana and the kana punctuation 。「」、・ー゛゜ their
// half-width forms, a voiced or semi-voiced katakana its base followed by
// the half-width mark. Everything else, kanji and hiragana included, stays.
std::string ToNarrow(std::string_view text);

}  // namespace common
