#include "collect/prices/price_page_fold.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "collect/child/report_numbers.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/text/web_text.h"
#include "platform/date.h"
#include "platform/date_parse.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

using marketdata::PriceRec;

constexpr const char* kConvertId = "AHPJP441";
constexpr const char* kFoldId = "AHPJP44M";

constexpr std::size_t kCompanyNameText = 171 - 133;  // code-master position 171
constexpr std::string_view kStockCategory = "1000";
constexpr int kLastImpossibleYear = 1969;  // the sources' "no date" rows read as 1969/12/31
constexpr std::size_t kRowLineColumns = 7;

// The run-log switches of "90:Worning" (first group) and "20:Info   " lines.
constexpr int kWarningSwitch = 11;
constexpr int kInfoSwitch = 15;

constexpr std::array<std::string_view, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::optional<int> MonthNumber(std::string_view name) {
    for (std::size_t i = 0; i < kMonthNames.size(); ++i) {
        if (name == kMonthNames[i]) return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

// A run of one to four ASCII digits.
std::optional<int> SmallNumber(std::string_view text) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// One or two digits.
std::optional<int> DayOrMonth(std::string_view text) {
    return text.size() <= 2 ? SmallNumber(text) : std::nullopt;
}

// Price rows never lie in the future, so a two-digit year belongs to the
// latest century in which it is not after the current year.
int CenturyOfTwoDigitYear(int twoDigits) {
    const int year = 2000 + twoDigits;
    return year <= platform::Now().date.year ? year : year - 100;
}

// Two digits (a sliding century) or four.
std::optional<int> YearOf(std::string_view text) {
    const std::optional<int> number = SmallNumber(text);
    if (!number || (text.size() != 2 && text.size() != 4)) return std::nullopt;
    return text.size() == 2 ? CenturyOfTwoDigitYear(*number) : *number;
}

std::optional<platform::Date> ExistingDate(std::optional<int> year, std::optional<int> month, std::optional<int> day) {
    if (!year || !month || !day || !platform::IsValidDate(*year, *month, *day)) return std::nullopt;
    return platform::Date{*year, *month, *day};
}

// The label of a monthly row: "Mar 05", "Mar 2005".
std::optional<platform::Date> MonthLabelDate(std::string_view text) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    return ExistingDate(YearOf(platform::TrimBlanks(text.substr(blank + 1))), MonthNumber(text.substr(0, blank)), 1);
}

// "9-Mar-05" (day first) or "Mar-9-05"; pieces after the third are ignored.
std::optional<platform::Date> DashedDate(std::string_view text, bool dayFirst) {
    const std::vector<std::string_view> parts = platform::SplitAt(text, '-');
    if (parts.size() < 3) return std::nullopt;
    const std::string_view day = dayFirst ? parts[0] : parts[1];
    const std::string_view month = dayFirst ? parts[1] : parts[0];
    return ExistingDate(YearOf(parts[2]), MonthNumber(month), DayOrMonth(day));
}

// What may stand between the year and month, or the month and day, of a
// Japanese date: blanks, "/", "-", "." and the kanji for year and month.
// Anything else there (the escape sequences of a page read in the wrong
// charset, say) means the text is no date, though it holds three digit runs.
bool IsDateSeparator(std::string_view text) {
    static constexpr std::array<std::string_view, 6> kPieces = {" ", "/", "-", ".", "年", "月"};
    if (text.empty()) return false;
    while (!text.empty()) {
        const auto piece = std::find_if(kPieces.begin(), kPieces.end(),
                                        [text](std::string_view p) { return text.starts_with(p); });
        if (piece == kPieces.end()) return false;
        text.remove_prefix(piece->size());
    }
    return true;
}

// The first three runs of digits as year, month and day, for Japanese dates
// with trimmings the parser refuses ("2005年3月9日(水)"). A four-digit year
// after the current one is read as a typing slip for 19yy.
std::optional<platform::Date> DigitRunsDate(std::string_view text) {
    std::array<std::string_view, 3> runs;
    std::size_t found = 0;
    std::size_t pos = 0;
    std::size_t afterRun = 0;
    while (found < runs.size() && pos < text.size()) {
        if (text[pos] < '0' || text[pos] > '9') {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        if (found > 0 && !IsDateSeparator(text.substr(afterRun, start - afterRun))) return std::nullopt;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
        runs[found++] = text.substr(start, pos - start);
        afterRun = pos;
    }
    if (found < runs.size()) return std::nullopt;
    std::optional<int> year = YearOf(runs[0]);
    if (year && runs[0].size() == 4 && *year > platform::Now().date.year) year = 1900 + *year % 100;
    return ExistingDate(year, DayOrMonth(runs[1]), DayOrMonth(runs[2]));
}

std::optional<platform::Date> ReadRowDate(const std::string& country, std::string_view text) {
    if (const std::optional<platform::Date> month = MonthLabelDate(text)) return month;
    if (country == "JPN") {
        if (const std::optional<platform::Date> parsed = platform::ParseDate(text)) return parsed;
        return DigitRunsDate(text);
    }
    return DashedDate(text, country == "USA" || country == "CHN");
}

// The row date, or nullopt after logging that it cannot be read.
std::optional<platform::Date> ConvertRowDate(const std::string& country, const std::string& dateText) {
    const std::optional<platform::Date> date = ReadRowDate(country, platform::TrimBlanks(dateText));
    if (!date) {
        common::WriteErrorLog(common::State().errorLogOn, kConvertId, common::log_tag::kErrApl, "00",
                              "株価時系列の日付変換不能　日付=<" + dateText + ">");
    }
    return date;
}

std::string RowLine(const PriceRec& row) {
    std::string line = row.Text[0];
    for (std::size_t col = 1; col < kRowLineColumns; ++col) line += "\t" + row.Text[col];
    return line;
}

bool IsEventLine(const std::string& line) { return line.find_first_of("$:") != std::string::npos; }

// A price row whose four prices are not all numbers (a row cut short, or read
// in the wrong charset) would enter the series as a false row. Dividend and
// split notes stand in the open column and leave the others empty.
bool PricesRead(const PriceRec& row) {
    const auto prices = std::span(row.Text).subspan(1, 4);
    if (std::any_of(prices.begin(), prices.end(), IsEventLine)) return true;
    return std::all_of(prices.begin(), prices.end(), platform::IsNumericText);
}

std::string StockText(const marketdata::CdmRec& company) {
    return platform::TrimBlanks(company.Key.CorpCode) + " : " + company.InfoText[kCompanyNameText];
}

void Warn(const std::string& code, const std::string& message) {
    common::WriteInfoLog(common::LogSwitch(kWarningSwitch), kFoldId, common::log_tag::kWarning, code, message);
}

void Inform(const std::string& code, const std::string& message) {
    common::WriteInfoLog(common::LogSwitch(kInfoSwitch), kFoldId, common::log_tag::kInfo, code, message);
}

// A number beyond the range of amounts reads "0": kept, it would stop every
// later reading of the series.
std::string CellValue(const PageCellTable& pageText, std::int32_t row, std::int32_t col) {
    return WithinRangeOrZero("株価", common::NumberTextOrSame(pageText.At(row, col)));
}

}  // namespace

std::string AHPJP441(const std::string& country, const std::string& dateText) {
    const std::optional<platform::Date> date = ConvertRowDate(country, dateText);
    return date ? platform::DateText(*date) : "";
}

bool AHPJP44M(const marketdata::CdmRec& company, PriceRequest& request, const PriceColumnMap& map,
              std::vector<PriceRec>& rows, const FetchRec& fetch, const PageCellTable& pageText) {
    const std::size_t before = rows.size();
    const bool stock = request.Category == kStockCategory;
    bool whole = true;
    // Rows of the table that were skipped still fill the page: a full page
    // with one of them is not the last page.
    long unreadRows = 0;
    for (std::int32_t row = static_cast<std::int32_t>(request.RowIndex); row <= fetch.RowCount; ++row) {
        const std::string dateText = platform::TrimBlanks(pageText.At(row, map.DateCol));
        if (dateText.empty()) continue;
        std::optional<platform::Date> date = ConvertRowDate(request.Country, dateText);
        if (!date) continue;
        if (date->year <= kLastImpossibleYear) {
            whole = false;
            break;
        }
        PriceRec rec;
        rec.Text[1] = CellValue(pageText, row, map.OpenCol);
        rec.Text[2] = CellValue(pageText, row, map.HighCol);
        rec.Text[3] = CellValue(pageText, row, map.LowCol);
        rec.Text[4] = CellValue(pageText, row, map.CloseCol);
        rec.Text[5] = stock ? CellValue(pageText, row, map.VolumeCol) : "0";
        rec.Text[6] = stock ? CellValue(pageText, row, map.AdjCloseCol) : "0";
        if (!PricesRead(rec)) {
            common::WriteErrorLog(common::State().errorLogOn, kFoldId, common::log_tag::kErrApl, "00",
                                  "株価時系列の価格変換不能　日付=<" + dateText + ">");
            ++unreadRows;
            continue;
        }
        // A monthly row stands for its month, whichever trading day the page
        // names; dividend and split notes (no high) keep their own day.
        if (stock && request.Candle == "M" && !rec.Text[2].empty()) date->day = 1;
        rec.Text[0] = platform::DateText(*date);
        request.PositionDate = *date;

        if (!rows.empty() && rows.back().Text[0] == rec.Text[0]) {
            const std::string previous = RowLine(rows.back());
            const std::string current = RowLine(rec);
            if (!IsEventLine(previous) && !IsEventLine(current)) {
                if (previous != current) {
                    common::WriteSetting(common::SettingKeyPath("HpGet", "HpDupSts"), "1");
                    Warn("01", "株価時系列データの日付が重複しています。　　" + StockText(company));
                    Warn("02", fetch.Url);
                    Warn("03", previous);
                    Warn("04", current);
                    whole = false;
                    break;
                }
                Inform("01", "株価時系列データの重複データを補正。　　" + StockText(company));
                Inform("02", fetch.Url);
                Inform("03", previous);
                continue;
            }
        }
        rows.push_back(std::move(rec));
    }
    request.PageRows = static_cast<long>(rows.size() - before) + unreadRows;
    request.TotalRows = static_cast<long>(rows.size());
    return whole;
}

}  // namespace collect
