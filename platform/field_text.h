#pragma once
#include <string>
#include <string_view>

namespace platform {

// The one rule for a text written as a field of a tab-separated line: every
// control character (U+0000..U+001F, U+007F and U+0080..U+009F, TAB, CR and
// LF among them) becomes one blank. Page text may carry them as raw bytes or
// as character references; written as they are they would shift or split the
// fields of the line.

// Appends `text` to `line` under that rule.
void AppendFieldText(std::string& line, std::string_view text);

}  // namespace platform
