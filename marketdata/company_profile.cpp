#include "marketdata/company_profile.h"

#include <cstddef>
#include <optional>
#include <vector>

#include "common/text/web_text.h"
#include "marketdata/text_record_line.h"
#include "platform/date_parse.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

constexpr std::size_t kProfileMark = 5;
constexpr std::size_t kShortestFullDate = 10;  // "yyyy/mm/dd"

template <class R>
auto TextsOf(R& rec) {
    std::vector<decltype(&rec.Text[0])> texts;
    texts.reserve(kCpiTextCount);
    for (std::size_t n = 1; n < rec.Text.size(); ++n) texts.push_back(&rec.Text[n]);
    return texts;
}

std::optional<std::string> AsDateText(std::string_view text) {
    const std::optional<platform::Date> date = platform::ParseDate(text);
    if (!date) return std::nullopt;
    return platform::DateText(*date);
}

// Text field 19 as the code master keeps it. Shorter texts (a year and a
// month) stay as they are; a dotted date is also corrected in the profile.
std::string FoundingDate(std::string& founded) {
    if (platform::CharCount(founded) < kShortestFullDate) return founded;
    if (std::optional<std::string> date = AsDateText(founded)) return *date;
    std::string slashed = founded;
    common::ReplaceInPlace(slashed, ".", "/");
    if (std::optional<std::string> date = AsDateText(slashed)) {
        founded = *date;
        return *date;
    }
    return founded;
}

}  // namespace

void CpiRecToLine(const CpiRec& rec, std::string& line) { TextRecordToLine(rec.Key, TextsOf(rec), line); }

bool LineToCpiRec(std::string_view line, CpiRec& rec) { return LineToTextRecord(line, rec.Key, TextsOf(rec)); }

void CopyCpiRec(CpiRec& target, const CpiRec& work) { CopyTexts(TextsOf(target), TextsOf(work)); }

void CpiToCdmRec(CdmRec& cdm, CpiRec& cpi) {
    ProcMarkRec& mark = cdm.ProcMark[kProfileMark];
    mark.MarkFlag = "1";
    mark.MarkDate = cpi.Key.UpdateDate;
    mark.MarkTime = cpi.Key.UpdateTime;
    cdm.InfoText[4] = cpi.Text[26];
    cdm.InfoText[1] = FoundingDate(cpi.Text[19]);
    cdm.InfoText[5] = cpi.Text[20];
    cdm.InfoText[6] = cpi.Text[28];
    cdm.InfoText[2] = cpi.Text[35];
    cdm.InfoText[59] = cpi.Text[15];
    cdm.InfoText[60] = cpi.Text[14];
}

}  // namespace marketdata
