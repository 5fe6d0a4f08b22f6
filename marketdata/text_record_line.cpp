#include "marketdata/text_record_line.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/field_text.h"

namespace marketdata {

void TextRecordToLine(const Key& key, std::span<const std::string* const> texts, std::string& line) {
    KeyToLine(key, line);
    for (const std::string* text : texts) {
        line += '\t';
        platform::AppendFieldText(line, *text);
    }
}

bool LineToTextRecord(std::string_view line, Key& key, std::span<std::string* const> texts) {
    const std::vector<std::string_view> fields = SplitTabs(line);
    if (fields.size() != static_cast<std::size_t>(kKeyFieldCount) + texts.size()) return false;
    long position = 0;
    KeyFromFields(fields, position, key);
    for (std::string* text : texts) *text = NextField(fields, position);
    return true;
}

void CopyTexts(std::span<std::string* const> target, std::span<const std::string* const> source) {
    const std::size_t count = std::min(target.size(), source.size());
    for (std::size_t i = 0; i < count; ++i) *target[i] = *source[i];
}

}  // namespace marketdata
