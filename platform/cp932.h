#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Data files are code page 932; text in memory is UTF-8. Nothing is dropped
// silently: every character that cannot be converted becomes "?" and is
// counted so the caller can report it.

struct EncodeResult {
    std::string bytes;
    std::size_t unmappable = 0;  // code points without a CP932 form, and invalid UTF-8 bytes
};

// One "?" per code point CP932 cannot hold and per invalid UTF-8 byte.
EncodeResult ToCp932(std::string_view utf8);

// ToCp932 appending its bytes to `out`; returns the count of "?".
std::size_t AppendCp932(std::string_view utf8, std::string& out);

struct DecodeResult {
    std::string text;
    std::size_t invalid = 0;  // bytes that did not start a valid CP932 character
};

// An invalid or truncated sequence gives one "?" for its first byte, and
// decoding goes on from the next byte.
DecodeResult FromCp932(std::string_view bytes);

// FromCp932 appending its text to `out`; returns the count of "?".
std::size_t AppendFromCp932(std::string_view bytes, std::string& out);

// Bytes the text takes in CP932, each "?" substitution counting one.
std::size_t Cp932Length(std::string_view utf8);

// Bytes (1 or 2) of the CP932 character that starts with `lead`.
std::size_t Cp932CharBytes(unsigned char lead);

}  // namespace platform
