#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace common {

// Cleaning of texts scraped from web pages. The analysis program
// uses only ReplaceInPlace and NumericOrZero.
//
// Conventions of this file:
//   - "Trim" is platform::TrimBlanks (space, tab, CR, LF; the ideographic
//     space stays), the project's one trim.
//   - "Compared as text" is common/text_compare.h (case, width and kana kind
//     ignored); "exact" comparisons and the separators of the splits are
//     byte-for-byte.
//   - "Numeric" is platform::IsNumericText.
//   - Item arrays are std::vector<std::string> with 0-based storage: the
//     item 1 is items[0]. The out count always equals items.size().
//   - Every out parameter may alias an input; results are built first and
//     stored last.

// True when `searched` occurs in `text`, compared as text; `position` = the
// 1-based position (code points of `text`) of its first occurrence, 0 when
// absent. An empty `searched` is found at 1 in any non-empty text.
bool ContainsText(std::string_view text, std::string_view searched, long& position);
bool ContainsText(std::string_view text, std::string_view searched);

// Replaces every occurrence of `oldText` by `newText`, left to right, without
// overlaps, case-sensitive. An empty `oldText` changes nothing.
void ReplaceInPlace(std::string& text, std::string_view oldText, std::string_view newText);

// `text` exactly equal to `noValueMarker`: `replacement` as it is. Otherwise:
// with `strip`, every "," "(" ")" "（" "）" removed; a non-empty `extra`
// removed wherever it occurs; the result trimmed.
std::string CleanField(bool strip, std::string_view text, std::string_view noValueMarker,
                       std::string_view replacement, std::string_view extra);

// Splits Trim(text) on `separator` and keeps, in order and untrimmed, the
// pieces that are not blank after trimming. An empty separator gives the
// trimmed text as its one piece. No piece kept: count 0 and no items.
void SplitNonEmpty(std::string_view text, std::string_view separator, long& count,
                   std::vector<std::string>& items);

// CleanField(strip, text, "", "", extra), then SplitNonEmpty; keeps at most
// `limit` pieces: the first ones, or with mode 1 and more than `limit` pieces
// the last ones. A limit below 1 keeps none.
void CleanAndSplit(bool strip, long mode, long limit, std::string_view text, std::string_view separator,
                   std::string_view extra, long& count, std::vector<std::string>& items);

// value1/value2 start as the defaults. CleanField(strip, text, "", "", "");
// when that is not blank and not exactly `noValueMarker`, SplitNonEmpty on
// `separator`: value1 = the first piece, value2 = the second piece with every
// `removed` deleted (each only when the piece exists). Pieces stay untrimmed.
void SplitPair(bool strip, std::string_view text, std::string_view noValueMarker, std::string_view default1,
               std::string_view default2, std::string_view separator, std::string_view removed,
               std::string& value1, std::string& value2);

// When `startMarker` occurs in `text` (ContainsText): the text after its
// first occurrence, trimmed, cut before the first `endMarker` when that
// occurs in it, trimmed again. Otherwise `text` unchanged. As with
// ContainsText, an empty start marker occurs at 1 (the whole text, trimmed)
// and an empty end marker at 1 of a non-empty rest (which leaves "").
std::string TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker);

// `text` becomes "0" unless Trim(text) is numeric (then it stays untouched).
void NumericOrZero(std::string& text);

// Trim(text) without its commas when numeric; otherwise "0".
std::string NumberTextOrZero(std::string_view text);
// Trim(text) without its commas when numeric; otherwise Trim(text).
std::string NumberTextOrSame(std::string_view text);

struct ThreeTexts {
    std::string first;
    std::string middle;
    std::string third;
};

// For "a x b": a = b = "0" when Trim(text) contains "N/A" as text; else
// SplitPair(true, text, "N/A", "0", "0", "x", "") with both values trimmed.
// middle = a; side code exactly "B": third = b and first empty; any other
// code: first = b and third empty.
void SplitTimesPair(std::string_view sideCode, std::string_view text, ThreeTexts& out);

// For "low - high": Trim(text) equal to "N/A" as text gives "0" and "0".
// Otherwise every "," removed, every "N/A" (exact case) replaced by "0", then
// SplitPair(true, ..., "", "0", "0", "-", "") with both values trimmed.
void SplitRangePair(std::string_view text, std::string& low, std::string& high);

}  // namespace common
