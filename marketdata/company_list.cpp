#include "marketdata/company_list.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "marketdata/text_record_line.h"

namespace marketdata {

namespace {

// Texts 11-21 of an industry entry: its three code-master texts and the names
// of its levels "0020" to "0090".
constexpr std::size_t kFirstIndustryText = 11;
constexpr std::size_t kLastIndustryText = 21;
constexpr std::size_t kFirstListText = 8;
constexpr std::size_t kOwnNameText = 22;

}  // namespace

void ListRecToLine(const ListRec& rec, std::string& line) {
    const std::string flag = FitField(rec.ListFlag, 1, "ListFlag");
    const std::string code = FitField(rec.ListCode, 4, "ListCode");
    std::vector<const std::string*> fields{&flag, &code};
    fields.reserve(kListFieldCount - kKeyFieldCount);
    for (std::size_t n = 1; n < rec.ListText.size(); ++n) fields.push_back(&rec.ListText[n]);
    TextRecordToLine(rec.Key, fields, line);
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

void CopyListRec(const IndustryRec& industry, ListRec& rec) {
    rec.Key = industry.Key;
    rec.ListCode = industry.Fixed4;
    for (std::size_t n = kFirstIndustryText; n <= kLastIndustryText; ++n) {
        rec.ListText[kFirstListText + n - kFirstIndustryText] = industry.Text[n];
    }
}

void ListRecToIndustryRec(const ListRec& company, IndustryRec& entry) {
    entry = IndustryRec{};
    entry.Key = company.Key;
    entry.Fixed1 = " ";
    entry.Fixed4 = company.ListCode;
    entry.Fixed6 = "      ";
    for (std::size_t n = kFirstIndustryText; n <= kLastIndustryText; ++n) {
        entry.Text[n] = company.ListText[kFirstListText + n - kFirstIndustryText];
    }
    entry.Text[kOwnNameText] = company.ListText[1];
}

}  // namespace marketdata
