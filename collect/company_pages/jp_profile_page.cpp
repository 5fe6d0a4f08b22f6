#include "collect/company_pages/jp_profile_page.h"

#include <array>
#include <optional>
#include <string>

#include "collect/web/label_lookup.h"
#include "collect/web/page_cell_scan.h"
#include "common/text/narrow_text.h"
#include "common/text/web_text.h"
#include "platform/date_parse.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr std::size_t kName = 1;
constexpr std::size_t kDateMonthLength = 7;  // "yyyy/mm"
constexpr const char* kNoDate = "1900/01/01";

struct Lookup {
    const char* label;
    bool exact;
    std::size_t field;
};

// The labels in the order they are tried on every cell.
constexpr std::array<Lookup, 17> kLookups{{
    {"特色", false, 11},
    {"連結事業", false, 14},
    {"本社所在地", true, 15},
    {"最寄り駅", false, 16},
    {"電話番号", false, 17},
    {"英文社名", false, 2},
    {"決算", true, 18},
    {"設立年月日", false, 19},
    {"代表者名", false, 20},
    {"従業員数（単独", false, 22},
    {"従業員数（連結", false, 23},
    {"業種分類", false, 24},
    {"市場名", false, 25},
    {"単元株数", false, 28},
    {"上場年月日", false, 35},
    {"平均年齢", false, 36},
    {"平均年収", false, 37},
}};

constexpr const char* kNoProfileMarkers[] = {"指定された URL は存在しません", "一致する銘柄はありません",
                                             "一致する企業はありません", "見つかりませんでした"};

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

std::string WithoutAll(std::string text, const char* part) {
    common::ReplaceInPlace(text, part, "");
    return platform::TrimBlanks(text);
}

// The company name without the code the page puts after it in 【 】.
std::string WithoutCode(const std::string& name) {
    const std::size_t bracket = name.rfind("【");
    return bracket == std::string::npos ? name : platform::TrimBlanks(name.substr(0, bracket));
}

std::string DateOrSame(const std::string& text) {
    const std::optional<platform::Date> date = platform::ParseDate(text);
    return date ? platform::DateText(*date) : text;
}

// "2001年3月1日" as "2001/03/01" and "2001年3月" as "2001/03"; a listing date
// the page does not give, or does not give as a date, as 1900/01/01.
std::string ListingDate(const std::string& text) {
    const std::string trimmed = platform::TrimBlanks(text);
    if (trimmed.empty() || trimmed == "-" || Contains(trimmed, "年0月")) return kNoDate;
    const std::optional<platform::Date> date = platform::ParseDate(trimmed);
    if (!date) return kNoDate;
    const std::string full = platform::DateText(*date);
    return Contains(trimmed, "日") ? full : full.substr(0, kDateMonthLength);
}

void Normalise(marketdata::CpiRec& profile) {
    std::array<std::string, marketdata::kCpiTextCount + 1>& text = profile.Text;
    text[kName] = WithoutCode(text[kName]);
    text[15] = WithoutAll(text[15], "[周辺地図]");
    text[16] = WithoutAll(text[16], "～");
    text[17] = common::ToNarrow(text[17]);
    text[2] = common::ToNarrow(text[2]);
    text[19] = DateOrSame(text[19]);
    text[22] = common::CleanField(true, text[22], "‐人", "-", "人");
    text[23] = common::CleanField(true, text[23], "‐人", "-", "人");
    text[28] = common::CleanField(true, text[28], "単元株制度なし", "1", "株");
    text[35] = ListingDate(text[35]);
    text[36] = common::CleanField(true, text[36], "‐歳", "-", "歳");
    text[37] = common::CleanField(true, text[37], "‐千円", "-", "千円");
}

}  // namespace

std::int32_t CheckJapanProfilePage(const PageCellTable& pageText, marketdata::CpiRec& profile,
                                   std::int32_t& startRow, std::int32_t& startCol) {
    profile.Text[kName].clear();
    profile.Text[9].clear();
    std::int32_t found = 0;
    ScanPageCells(pageText, 1, 1, [&](std::int32_t row, std::int32_t col, const std::string& text) {
        if (profile.Text[kName].empty() && Contains(text, "企業情報検索")) {
            profile.Text[kName] = platform::TrimBlanks(pageText.At(row + 1, col));
        }
        if (Contains(text, "会社概要")) {
            startRow = row;
            startCol = col;
            found = row;
            return false;
        }
        for (const char* marker : kNoProfileMarkers) {
            if (Contains(text, marker)) return false;
        }
        return true;
    });
    return found;
}

void ParseJapanProfile(const marketdata::CdmRec& company, marketdata::CpiRec& profile, const PageCellTable& pageText,
                       std::int32_t startRow, std::int32_t startCol) {
    profile.Key = company.Key;
    std::int32_t filled = 0;
    const auto read = [&](std::int32_t row, std::int32_t col, const std::string& text) {
        for (const Lookup& lookup : kLookups) {
            std::string& target = profile.Text[lookup.field];
            if (lookup.exact) {
                LookupLabelValueExact(text, kRight, "", filled, lookup.label, target, pageText, row, col);
            } else {
                LookupLabelValueContains(text, kRight, "", filled, lookup.label, target, pageText, row, col);
            }
        }
        return filled < static_cast<std::int32_t>(kLookups.size());
    };
    ScanPageCells(pageText, startRow, startCol, read);
    Normalise(profile);
}

}  // namespace collect
