#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// A fetched page turned into the code page of the data files.
struct PageCp932 {
    std::string bytes;           // the page in CP932
    std::string charset;         // the charset the page was read in
    std::size_t unmappable = 0;  // characters written as "?": invalid in that charset or not in CP932
    std::string text;            // the CP932 bytes read back, as a reader of the stored page sees them
    std::size_t unreadable = 0;  // bytes that read back as "?"
};

// Reads the page in the charset of the HTTP Content-Type value, else of a
// meta tag, else ISO-2022-JP when its escape sequences show it, else the one
// it decodes in without fault (UTF-8, then EUC-JP, else CP932). Numeric character references of characters beyond ASCII become
// those characters; references of ASCII characters stay references (written
// in decimal), so that a reference never forms markup; a malformed reference
// stays as it is.
PageCp932 PageToCp932(std::string_view body, std::string_view contentType);

// Reads the reference "&#digits;" or "&#xhex;" that starts at byte `at`:
// the position after its ";" with `cp` set, or `at` when it is malformed or
// names no character (0, a surrogate, beyond U+10FFFF, more than 8 digits).
std::size_t ParseNumericReference(std::string_view text, std::size_t at, char32_t& cp);

// Replaces each well-formed numeric reference by its character; with
// `keepAscii`, one of an ASCII character stays a reference, in decimal.
std::string DecodeNumericReferences(std::string_view text, bool keepAscii);

// The charset named after "charset=" in a Content-Type value, lower case; "" when none.
std::string CharsetOfContentType(std::string_view contentType);

}  // namespace platform
