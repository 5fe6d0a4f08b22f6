#include "analysis/analysis_info_record.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <initializer_list>

#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace analysis {

namespace {

// Consecutive numbers of a code-master text group, taken in order.
struct TextRange {
    std::size_t first;
    std::size_t last;
};

constexpr TextRange kReportRanges[] = {{1, 18}, {23, 34}};
constexpr TextRange kInfoRanges[] = {{1, 5}, {59, 59}, {6, 21}, {61, 64}, {60, 60}, {22, 28}, {31, 39}, {44, 44}, {46, 51}};

bool IsOneOf(std::size_t n, std::initializer_list<std::size_t> set) {
    return std::find(set.begin(), set.end(), n) != set.end();
}

// Dates are compared and sorted as digits only.
std::string WithoutSlashes(std::string text) {
    std::erase(text, '/');
    return text;
}

// A ratio kept in hundredths, so the list screens sort it as a whole number.
// A stock without the ratio (no prices yet) keeps it blank, as it keeps every
// other value it lacks: a 0 would be listed as a ratio and pass the screening.
std::string Hundredfold(const std::string& text) {
    if (!platform::IsNumericText(text)) return "";
    return (*platform::ParseCurrency(text) * 100).ToText();
}

// Millions; the shortest text that reads back as the same double.
std::string PerMillion(const std::string& text) {
    if (!platform::IsNumericText(text)) return text;
    const double value = *platform::ParseDouble(text) / 1'000'000.0;
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string ReportValue(std::size_t n, const std::string& text) {
    if (n == 17) return Hundredfold(text);
    return IsOneOf(n, {2, 4, 8, 15}) ? WithoutSlashes(text) : text;
}

std::string InfoValue(std::size_t n, const std::string& text) {
    if (n == 18) return PerMillion(text);
    return IsOneOf(n, {1, 2, 20}) ? WithoutSlashes(text) : text;
}

}  // namespace

void BuildAnalysisInfoRecord(const marketdata::CdmRec& cdm, AnalysisInfoRec& rec) {
    const marketdata::Key& key = cdm.Key;
    rec.Market = platform::PadRightChars(key.Market, 3);
    rec.Category = platform::PadRightChars(key.Category, 4);
    const std::string* levels[] = {&key.IndCode0020, &key.IndCode0030, &key.IndCode0040, &key.IndCode0050,
                                   &key.IndCode0060};
    for (std::size_t i = 0; i < rec.IndCode.size(); ++i) rec.IndCode[i] = platform::PadRightChars(*levels[i], 4);
    rec.CorpCode = platform::PadRightChars(key.CorpCode, 20);

    std::size_t next = 0;
    const auto add = [&](std::string value) { rec.Text.at(next++) = std::move(value); };
    add(cdm.Attr2);
    add(cdm.Attr3);
    for (const TextRange& range : kReportRanges) {
        for (std::size_t n = range.first; n <= range.last; ++n) add(ReportValue(n, cdm.RptText[n]));
    }
    add(WithoutSlashes(cdm.Attr4));
    add(cdm.Attr5);
    add(cdm.Attr6);
    add(std::to_string(cdm.Num[2]));
    for (std::size_t n = 3; n <= 5; ++n) add(cdm.Amount[n].ToText());
    add(std::to_string(cdm.Num[6]));
    for (const std::int32_t value : cdm.NumGroup[3].Nums) add(std::to_string(value));
    for (const platform::Currency& value : cdm.NumGroup[3].Amounts) add(value.ToText());
    for (const TextRange& range : kInfoRanges) {
        for (std::size_t n = range.first; n <= range.last; ++n) add(InfoValue(n, cdm.InfoText[n]));
    }
}

void FlattenAnalysisRecord(const AnalysisInfoRec& rec, AnalysisFileRec& out) {
    std::size_t element = 0;
    const auto append = [&](const std::string& value) { out.Field.at(++element) = value; };
    out.Field[0].clear();
    append(rec.Market);
    append(rec.Category);
    for (const std::string& code : rec.IndCode) append(code);
    append(rec.CorpCode);
    for (std::size_t i = 0; i < rec.Text.size(); ++i) {
        if (i + kFirstTextPosition != kUnstoredPosition) append(rec.Text[i]);
    }
}

}  // namespace analysis
