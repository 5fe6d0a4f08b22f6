#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Text is UTF-8 in memory. Positions and lengths here count code points and
// are 1-based like the classic Left/Mid/Right routines. A byte that does not
// start a well-formed UTF-8 sequence counts as one character of its own, so
// damaged text is still cut at stable places.

// Reads the code point at byte `pos` and moves `pos` past it. On a malformed
// sequence (stray, overlong, surrogate, out of range or truncated) returns
// false, sets `cp` to U+FFFD and moves `pos` past that one byte. At the end
// of the text returns false without moving.
bool NextCodePoint(std::string_view text, std::size_t& pos, char32_t& cp);

// Appends `cp` in UTF-8; a surrogate or a value past U+10FFFF appends U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

// True when every byte belongs to a well-formed UTF-8 sequence.
bool IsValidUtf8(std::string_view text);

std::size_t CharCount(std::string_view text);
std::string LeftChars(std::string_view text, std::size_t n);
std::string RightChars(std::string_view text, std::size_t n);
// From character `start1` (1-based) on, `n` characters or to the end; a start
// past the end gives "". Throws std::invalid_argument for start 0.
std::string MidChars(std::string_view text, std::size_t start1,
                     std::optional<std::size_t> n = {});

// Exactly `width` characters: the text left-aligned and padded with `fill`
// on the right, or its first `width` characters when longer.
std::string PadRightChars(std::string_view text, std::size_t width, char32_t fill = U' ');
// Exactly `width` characters: the text right-aligned and padded with `fill`
// on the left; a longer text keeps its first `width` characters, as the
// classic right-set did.
std::string PadLeftChars(std::string_view text, std::size_t width, char32_t fill = U' ');

// The longest prefix whose code page 932 form takes at most `maxBytes`
// bytes; a character is never split.
std::string CutToCp932Bytes(std::string_view utf8, std::size_t maxBytes);
// Text whose code page 932 form is exactly `width` bytes: cut as above, then
// padded with blanks, so a double-byte character that would straddle the end
// gives way to a blank.
std::string PadToCp932Bytes(std::string_view utf8, std::size_t width);

// Half-width blanks only (space, tab, CR, LF); the ideographic space stays.
std::string TrimBlanks(std::string_view text);
// The same, as a view into `text`.
std::string_view TrimmedBlanks(std::string_view text);

// A-Z as a-z, every other byte as it is.
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
// Equal but for the letter case of A-Z, as the settings store compares keys.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The pieces between every `separator`, empty ones included: n separators give
// n + 1 pieces. The views point into `text`.
std::vector<std::string_view> SplitAt(std::string_view text, char separator);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

}  // namespace platform
