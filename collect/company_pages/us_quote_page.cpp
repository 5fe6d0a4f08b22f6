#include "collect/company_pages/us_quote_page.h"

#include <optional>
#include <string>

#include "collect/child/report_numbers.h"
#include "collect/company_pages/quote_dates.h"
#include "collect/company_pages/quote_label_scan.h"
#include "collect/web/label_lookup.h"
#include "common/text/text_compare.h"
#include "common/text/web_text.h"
#include "platform/date.h"
#include "platform/date_parse.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

using platform::Currency;

std::string Trim(std::string_view text) { return platform::TrimBlanks(text); }

bool IsNotAvailable(const std::string& text) {
    return common::NormalizeForCompare(Trim(text)) == common::NormalizeForCompare("N/A");
}

// "Apple Inc. (NasdaqGS:AAPL)": the name and the market.
void ReadNameAndMarket(const std::string& text, marketdata::RpiRec& rpi) {
    const std::size_t close = text.rfind(')');
    const std::string head = close == std::string::npos ? text : text.substr(0, close);
    const std::size_t open = close == std::string::npos ? std::string::npos : head.rfind('(');
    if (open == std::string::npos) {
        rpi.Text[2] = Trim(head);
        rpi.Text[3] = "Other";
        return;
    }
    rpi.Text[2] = Trim(head.substr(0, open));
    const std::string inner = head.substr(open + 1);
    const std::size_t colon = inner.rfind(':');
    rpi.Text[3] = colon == std::string::npos ? "Other" : Trim(inner.substr(0, colon));
}

// A trade date after today is one of the year before.
std::string TradeDate(const std::string& text) {
    const std::optional<platform::Date> date = platform::ParseDate(text);
    if (!date) return kNoQuoteDate;
    const platform::Date today = platform::Now().date;
    if (*date <= today) return platform::DateText(*date);
    platform::Date earlier{platform::AddDays(*date, -365).year, date->month, date->day};
    if (!platform::IsValidDate(earlier.year, earlier.month, earlier.day)) earlier.day = 28;
    return platform::DateText(earlier);
}

// "Down 1.23 (0.95%)": both parts with the sign of the move.
void ReadChange(const std::string& text, marketdata::RpiRec& rpi) {
    if (text.find("(0.00%)") != std::string::npos) {
        rpi.Text[12] = rpi.Text[13] = "0.00";
        return;
    }
    std::string amount = "0.00";
    std::string ratio = "0.00";
    common::SplitPair(false, text, "0.00 (0.00%)", amount, ratio, " (", "%)", amount, ratio);
    std::string sign;
    if (amount.find("Down") != std::string::npos) {
        sign = "-";
        common::ReplaceInPlace(amount, "Down", "");
    } else {
        common::ReplaceInPlace(amount, "Up", "");
    }
    rpi.Text[12] = sign + Trim(amount);
    rpi.Text[13] = sign + Trim(ratio);
}

void ReadMarketCap(const std::string& text, marketdata::RpiRec& rpi) {
    const std::string value = Trim(text);
    if (value.empty() || IsNotAvailable(value)) {
        rpi.Text[18] = "0";
        rpi.Text[19].clear();
        return;
    }
    const std::string last = platform::RightChars(value, 1);
    if (last.find_first_of("0123456789") != std::string::npos) {
        rpi.Text[18] = value;
        rpi.Text[19].clear();
        return;
    }
    rpi.Text[18] = platform::LeftChars(value, platform::CharCount(value) - 1);
    rpi.Text[19] = last;
}

void ReadBidOrAsk(std::string_view side, const std::string& text, std::string* fields) {
    common::ThreeTexts parts;
    common::SplitTimesPair(side, text, parts);
    fields[0] = parts.first;
    fields[1] = parts.middle;
    fields[2] = parts.third;
}

// previous close = price - change, "0" unless both are numbers.
std::string PreviousClose(const std::string& price, const std::string& change) {
    if (!platform::IsNumericText(price) || !platform::IsNumericText(change)) return "0";
    const std::optional<Currency> close = WithinCurrencyRange(
        "Prev Close", price + " " + change,
        [&] { return *platform::ParseCurrency(price) - *platform::ParseCurrency(change); });
    return close ? close->ToText() : "0";
}

}  // namespace

std::int32_t CheckUsQuotePage(const PageCellTable& table, std::int32_t& row, std::int32_t& col) {
    constexpr std::string_view kStops[] = {"Invalid", "Error"};
    return FindQuoteStart(table, "Finance Search", kStops, row, col);
}

void ParseUsQuote(const marketdata::CdmRec&, marketdata::RpiRec& rpi, const PageCellTable& table,
                  std::int32_t row, std::int32_t col) {
    auto& f = rpi.Text;
    std::string name, price, tradeTime, change, volume, average, open, prevClose, bid, ask, dayRange, yearRange,
        target, marketCap, per, eps, dividend;
    const QuoteLabel labels[] = {
        {"Edit", true, kLeft, &name},
        {"Last Trade:", false, kRight, &price},      {"Index Value:", false, kRight, &price},
        {"Trade Time:", false, kRight, &tradeTime},  {"Change:", false, kRight, &change},
        {"Volume:", false, kRight, &volume},          {"Avg Vol (3m):", false, kRight, &average},
        {"Open:", false, kRight, &open},              {"Prev Close:", false, kRight, &prevClose},
        {"Bid:", false, kRight, &bid},                {"Ask:", false, kRight, &ask},
        {"Day's Range:", false, kRight, &dayRange},   {"52wk Range:", false, kRight, &yearRange},
        {"1y Target Est:", false, kRight, &target},  {"Market Cap:", false, kRight, &marketCap},
        {"P/E (ttm):", false, kRight, &per},          {"EPS (ttm):", false, kRight, &eps},
        {"Div & Yield:", false, kRight, &dividend},
    };
    ScanQuoteLabels(table, row, col, labels);

    ReadNameAndMarket(name, rpi);
    f[10] = common::NumberTextOrZero(price);
    f[9] = TradeDate(tradeTime);
    ReadChange(change, rpi);
    f[15] = common::NumberTextOrZero(volume);
    f[17] = common::NumberTextOrZero(average);
    f[20] = common::NumberTextOrZero(open);
    f[29] = common::NumberTextOrZero(prevClose);
    ReadBidOrAsk("S", bid, &f[82]);
    ReadBidOrAsk("B", ask, &f[85]);
    common::SplitRangePair(dayRange, f[22], f[21]);
    common::SplitRangePair(yearRange, f[30], f[31]);
    f[71] = common::NumberTextOrZero(target);
    ReadMarketCap(marketCap, rpi);
    f[44] = common::NumberTextOrZero(per);
    f[47] = common::NumberTextOrZero(eps);
    common::SplitPair(true, IsNotAvailable(dividend) ? std::string("0.00") : dividend, "0.00 (0.00)", "0.00", "0.00",
                      " ", "%", f[40], f[39]);
    f[32] = "0";
    f[14] = PreviousClose(f[10], f[12]);
    ZeroNumbersBeyondRange(rpi);
}

}  // namespace collect
