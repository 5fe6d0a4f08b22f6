#include "marketdata/company_list.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace marketdata {

namespace {

std::string FieldText(std::string_view value) {
    std::string text(value);
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

}  // namespace

void ListRecToLine(const ListRec& rec, std::string& line) {
    KeyToLine(rec.Key, line);
    line += '\t';
    line += FitField(rec.ListFlag, 1, "ListFlag");
    line += '\t';
    line += FitField(rec.ListCode, 4, "ListCode");
    for (long n = 1; n <= kListTextCount; ++n) {
        line += '\t';
        line += FieldText(rec.ListText[static_cast<std::size_t>(n)]);
    }
}

bool LineToListRec(std::string_view line, ListRec& rec) {
    const std::vector<std::string_view> fields = SplitTabs(line);
    if (static_cast<long>(fields.size()) != kListFieldCount) return false;
    ListRec read;
    long position = 0;
    KeyFromFields(fields, position, read.Key);
    read.ListFlag = FitField(NextField(fields, position), 1, "ListFlag");
    read.ListCode = FitField(NextField(fields, position), 4, "ListCode");
    for (long n = 1; n <= kListTextCount; ++n) {
        read.ListText[static_cast<std::size_t>(n)] = std::string(NextField(fields, position));
    }
    rec = std::move(read);
    return true;
}

}  // namespace marketdata
