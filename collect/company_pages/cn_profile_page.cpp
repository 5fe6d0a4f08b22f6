#include "collect/company_pages/cn_profile_page.h"

#include <array>
#include <optional>
#include <string>

#include "collect/web/label_lookup.h"
#include "collect/web/page_cell_scan.h"
#include "common/text/narrow_text.h"
#include "common/text/web_text.h"
#include "platform/date_parse.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr std::int32_t kEnoughValues = 20;
constexpr const char* kNoValue = "N/A";

// How a value is read: from the cell to the right, from the cell two rows
// below (the texts under a section heading), or from the right with its unit
// in parentheses in the label cell.
enum class From { kRight, kTwoBelow, kRightWithUnit };

struct Lookup {
    const char* label;
    std::size_t field;
    From from;
    std::size_t unitField;  // kRightWithUnit only
};

// The labels in the order they are tried on every cell. Fields that a value
// splits into are filled from their first field after the scan.
constexpr std::array<Lookup, 18> kLookups{{
    {"漢字社名", 1, From::kRight, 0},
    {"英文社名", 2, From::kRight, 0},
    {"通用略称", 3, From::kRight, 0},
    {"業種", 5, From::kRight, 0},
    {"指数構成銘柄区分", 6, From::kRight, 0},
    {"関連銘柄", 7, From::kRight, 0},
    {"登録地", 10, From::kRight, 0},
    {"■ 業務内容", 12, From::kTwoBelow, 0},
    {"■ 企業沿革", 13, From::kTwoBelow, 0},
    {"設立年月", 19, From::kRight, 0},
    {"代表者名", 20, From::kRight, 0},
    {"上場区分", 25, From::kRight, 0},
    {"取引通貨", 27, From::kRight, 0},
    {"売買単位", 28, From::kRight, 0},
    {"額面", 30, From::kRight, 0},
    {"資本金", 32, From::kRightWithUnit, 31},
    {"発行価格", 34, From::kRightWithUnit, 33},
    {"上場年月", 35, From::kRight, 0},
}};

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

bool SaysNoProfile(const std::string& text) {
    return (Contains(text, "データがありません") && Contains(text, "指定された銘柄コード")) ||
           Contains(text, "証券コードに間違") || Contains(text, "情報はありませんでした");
}

// The text between the first "(" and the ")" after it; "" without both.
std::string TextInParentheses(const std::string& text) {
    const std::size_t open = text.find('(');
    if (open == std::string::npos) return "";
    const std::size_t close = text.find(')', open + 1);
    if (close == std::string::npos) return "";
    return text.substr(open + 1, close - open - 1);
}

void Read(const Lookup& lookup, const std::string& text, std::int32_t row, std::int32_t col,
          const PageCellTable& pageText, std::int32_t& filled, marketdata::CpiRec& profile) {
    std::string& target = profile.Text[lookup.field];
    switch (lookup.from) {
        case From::kRight:
            LookupLabelValueContains(text, kRight, "", filled, lookup.label, target, pageText, row, col);
            return;
        case From::kTwoBelow:
            // The value cell lies below the cell below the label.
            LookupLabelValueContains(text, kBelow, "", filled, lookup.label, target, pageText, row + 1, col);
            return;
        case From::kRightWithUnit: {
            const std::int32_t before = filled;
            LookupLabelValueContains(text, kRight, "", filled, lookup.label, target, pageText, row, col);
            if (filled != before) profile.Text[lookup.unitField] = TextInParentheses(text);
            return;
        }
    }
}

// "name(reading)" into the name (field 3) and its reading (field 4).
void SplitShortName(marketdata::CpiRec& profile) {
    const std::string text = profile.Text[3];
    const std::size_t open = text.rfind('(');
    if (open == std::string::npos) return;
    profile.Text[3] = platform::TrimBlanks(text.substr(0, open));
    const std::string reading = platform::TrimBlanks(text.substr(open + 1));
    profile.Text[4] = platform::LeftChars(reading, platform::CharCount(reading) - (reading.empty() ? 0 : 1));
}

// "A株：600028" into the listing (field 7) and its code (field 8).
void SplitRelatedListing(marketdata::CpiRec& profile) {
    const std::string text = common::ToNarrow(profile.Text[7]);
    const std::size_t colon = text.find(':');
    profile.Text[7] = platform::TrimBlanks(text.substr(0, colon));
    profile.Text[8] = colon == std::string::npos ? "" : platform::TrimBlanks(text.substr(colon + 1));
}

// "1.00 元" (or "元 1.00") into the unit (field 29) and the value (field 30).
void SplitParValue(marketdata::CpiRec& profile) {
    const std::string text = platform::TrimBlanks(profile.Text[30]);
    std::string first = kNoValue;
    std::string second = "0";
    const std::size_t blank = text.find(' ', 1);
    if (text != kNoValue && blank != std::string::npos) {
        common::SplitPair(true, text, "", kNoValue, "0", " ", "", first, second);
    }
    const bool valueFirst = platform::IsNumericText(first);
    profile.Text[29] = valueFirst ? second : first;
    profile.Text[30] = valueFirst ? first : second;
}

std::string ListingDate(const std::string& text) {
    const std::optional<platform::Date> date = platform::ParseDate(text);
    return date ? platform::DateText(*date) : "1900/01/01";
}

}  // namespace

std::int32_t CheckChinaProfilePage(const PageCellTable& pageText, std::int32_t& startRow,
                                   std::int32_t& startCol) {
    std::int32_t found = 0;
    ScanPageCells(pageText, 1, 1, [&](std::int32_t row, std::int32_t col, const std::string& text) {
        // Before the start marker: the site's "wrong code" notice names the
        // code as "証券コード" too.
        if (SaysNoProfile(text)) return false;
        if (!Contains(text, "証券コード")) return true;
        startRow = row + 1;
        startCol = col;
        found = startRow;
        return false;
    });
    return found;
}

void ParseChinaProfile(const marketdata::CdmRec& company, marketdata::CpiRec& profile, const PageCellTable& pageText,
                       std::int32_t startRow, std::int32_t startCol) {
    profile.Key = company.Key;
    std::int32_t filled = 0;
    const auto read = [&](std::int32_t row, std::int32_t col, const std::string& text) {
        for (const Lookup& lookup : kLookups) Read(lookup, text, row, col, pageText, filled, profile);
        return filled < kEnoughValues;
    };
    ScanPageCells(pageText, startRow, startCol, read);
    SplitShortName(profile);
    SplitRelatedListing(profile);
    SplitParValue(profile);
    profile.Text[35] = ListingDate(profile.Text[35]);
}

}  // namespace collect
