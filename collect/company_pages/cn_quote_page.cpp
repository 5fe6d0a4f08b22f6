#include "collect/company_pages/cn_quote_page.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "collect/child/report_numbers.h"
#include "collect/company_pages/quote_dates.h"
#include "collect/company_pages/quote_label_scan.h"
#include "collect/company_pages/report_to_code_master.h"
#include "collect/web/label_lookup.h"
#include "common/text/web_text.h"
#include "platform/date_parse.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

using platform::Currency;

constexpr std::string_view kNoData[] = {"証券コードに間違い", "データがありません"};

std::string Trim(std::string_view text) { return platform::TrimBlanks(text); }

std::string WithoutPercent(std::string text) {
    common::ReplaceInPlace(text, "%", "");
    return Trim(text);
}

// The quote's date and time: fields 4 and 5, and the date again in 9.
void ReadQuoteTime(const std::string& text, marketdata::RpiRec& rpi) {
    std::string date = kNoQuoteDate;
    std::string time = "00:00:00";
    common::SplitPair(false, text, "", date, time, " ", "", date, time);
    rpi.Text[4] = QuoteDateText(date).value_or(kNoQuoteDate);
    const auto clock = platform::ParseTimeText(time);
    rpi.Text[5] = clock ? platform::TimeText(std::get<0>(*clock), std::get<1>(*clock), std::get<2>(*clock))
                        : "00:00:00";
    const std::string first10 = platform::LeftChars(text, 10);
    if (first10 == "0000/00/00") {
        rpi.Text[9] = kNoQuoteDate;
    } else {
        rpi.Text[9] = QuoteDateText(first10).value_or(first10);
    }
}

// The name inside the title "株価速報 name code"; empty for a title without
// one.
std::string NameOfTitle(std::string title) {
    title = Trim(title);
    const std::size_t last = title.rfind(' ');
    if (last == std::string::npos) return "";
    title.resize(last);
    const std::size_t first = title.find(' ');
    return first == std::string::npos ? "" : Trim(title.substr(first));
}

// The value cell of a financials label and the label cell itself, whose text
// after "（" carries the unit.
struct ValueAndLabel {
    std::string value;
    std::string label;
};

// "2023年12月期(連結)2023/12/31": the period's name in 69, "yyyymm" in 70.
void ReadFiscalPeriod(const std::string& text, marketdata::RpiRec& rpi) {
    if (Trim(text).empty()) {
        rpi.Text[70] = "000000";
        return;
    }
    if (const std::optional<platform::Date> date = platform::ParseDate(text)) {
        rpi.Text[70] = YearMonthDigits(date->year, date->month, "000000");
        return;
    }
    const std::size_t open = text.find('(');
    rpi.Text[69] = Trim(text.substr(0, open));
    rpi.Text[70] = "000000";
    if (open == std::string::npos) return;
    const std::size_t close = text.find(')', open);
    if (close == std::string::npos) return;
    if (const std::optional<platform::Date> date = platform::ParseDate(text.substr(close + 1))) {
        rpi.Text[70] = YearMonthDigits(date->year, date->month, "000000");
    }
}

// "0.85香港ドル、10株につき1株": the dividend (40), a share dividend (41)
// and the unit (42, from the label unless the label gives none).
void ReadDividend(std::string value, marketdata::RpiRec& rpi) {
    common::ReplaceInPlace(value, "-", "0");
    common::ReplaceInPlace(value, "無配", "0");
    if (platform::IsNumericText(value)) {
        rpi.Text[40] = common::NumberTextOrZero(value);
        return;
    }
    std::string first = "0";
    common::SplitPair(false, value, "", "0", "", "、", "", first, rpi.Text[41]);
    if (first.find("株") != std::string::npos) {
        rpi.Text[41] = first;
        rpi.Text[40] = "0";
    } else {
        std::string rest;
        SplitNumberAndRest(first, rpi.Text[40], rest);
        if (rpi.Text[42].empty()) rpi.Text[42] = rest;
    }
    common::ReplaceInPlace(rpi.Text[41], "株", "");
}

// part / whole x 100 as "0.000"; "0" unless both are above 0.
std::string SharePercent(const std::string& part, const std::string& whole) {
    const std::optional<Currency> p = platform::IsNumericText(part) ? platform::ParseCurrency(part) : std::nullopt;
    const std::optional<Currency> w = platform::IsNumericText(whole) ? platform::ParseCurrency(whole) : std::nullopt;
    if (!p || !w || *p <= Currency() || *w <= Currency()) return "0";
    const std::optional<Currency> percent =
        WithinCurrencyRange("share ratio", part + "/" + whole, [&] { return *p * Currency(100) / *w; });
    return percent ? platform::FormatNumber(*percent, "0.000") : "0";
}

}  // namespace

std::int32_t CheckChinaQuotePage(const PageCellTable& table, std::int32_t& row, std::int32_t& col) {
    constexpr std::string_view kStops[] = {"キーワードを正しく", "証券コードに間違い", "データがありません",
                                           "データはありません"};
    return FindQuoteStart(table, "> 中国株・企業情報", kStops, row, col);
}

void ParseChinaQuote(const marketdata::CdmRec& company, marketdata::RpiRec& rpi, const PageCellTable& table,
                     std::int32_t row, std::int32_t col) {
    auto& f = rpi.Text;
    std::string quoteTime, rateCell, change, ratio, volume, unitShares, marketValue;
    const QuoteLabel labels[] = {
        {"現在値", true, kAbove, &quoteTime},    {"株価速報", false, kSameCell, &f[1]},
        {"取引通貨", false, kRight, &f[6]},      {"円換算用のレート", false, kSameCell, &rateCell},
        {"現在値", true, kRight, &f[10]},        {"前日比", false, kRight, &change},
        {"騰落率", false, kRight, &ratio},       {"前日終値", false, kRight, &f[14]},
        {"出来高", false, kRight, &volume},      {"ＰＥＲ", false, kRight, &f[44]},
        {"売買単位", false, kRight, &unitShares}, {"PER_A", false, kRight, &f[45]},
        {"時価総額", false, kRight, &marketValue}, {"始値", false, kRight, &f[20]},
        {"高値", false, kRight, &f[21]},         {"安値", false, kRight, &f[22]},
    };
    ScanQuoteLabels(table, row, col, labels);

    ReadQuoteTime(quoteTime, rpi);
    const std::string name = NameOfTitle(f[1]);
    f[2] = name.empty() ? Trim(marketdata::CompanyName(company)) : name;
    f[7] = Trim(TextAfterUntil(rateCell, "レート：", ""));
    f[12] = WithoutPercent(change);
    f[13] = WithoutPercent(ratio);
    SplitTrailingUnit(volume, f[15], f[16]);
    f[44] = common::NumberTextOrZero(f[44]);
    f[8] = unitShares;
    if (!platform::IsNumericText(f[8])) {
        common::ReplaceInPlace(f[8], "＊売買数量単位：", "");
        common::ReplaceInPlace(f[8], "株", "");
        f[8] = Trim(f[8]);
    }
    SplitTrailingUnit(marketValue, f[18], f[19]);
    ZeroNumbersBeyondRange(rpi);
    if (platform::IsNumericText(f[7])) ConvertReportCurrency(*platform::ParseCurrency(f[7]), rpi);
}

std::int32_t CheckChinaFinancialsPage(const PageCellTable& table, std::int32_t& row, std::int32_t& col) {
    return FindQuoteStart(table, "決算年月", kNoData, row, col);
}

void ParseChinaFinancials(marketdata::RpiRec& rpi, const PageCellTable& table, std::int32_t row, std::int32_t col) {
    auto& f = rpi.Text;
    std::string period, roe, dividendValue, dividendLabel, issued, tradableA, tradableB;
    ValueAndLabel sales, profit, eps, assets, bps, total;
    const QuoteLabel labels[] = {
        {"決算年月", false, kRight, &period},
        {"売上高", false, kRight, &sales.value},          {"売上高", false, kSameCell, &sales.label},
        {"純利益", false, kRight, &profit.value},         {"純利益", false, kSameCell, &profit.label},
        {"１株利益", false, kRight, &eps.value},          {"１株利益", false, kSameCell, &eps.label},
        {"純資産", false, kRight, &assets.value},         {"純資産", false, kSameCell, &assets.label},
        {"１株株主資本", false, kRight, &bps.value},      {"１株株主資本", false, kSameCell, &bps.label},
        {"ＲＯＥ", false, kRight, &roe},
        {"総資産", false, kRight, &total.value},          {"総資産", false, kSameCell, &total.label},
        {"配　当", false, kRight, &dividendValue},        {"配　当", false, kSameCell, &dividendLabel},
        {"発行済み株数", false, kSameCell, &issued},
        {"流通Ａ株", false, kSameCell, &tradableA},
        {"流通Ｂ株", false, kSameCell, &tradableB},
    };
    ScanQuoteLabels(table, row, col, labels);

    ReadFiscalPeriod(period, rpi);
    f[72] = sales.value;
    CurrencyFromUnitText(sales.label, f[73], f[74]);
    f[75] = profit.value;
    CurrencyFromUnitText(profit.label, f[76], f[77]);
    f[47] = eps.value;
    f[48] = UnitText(eps.label);
    f[49] = assets.value;
    CurrencyFromUnitText(assets.label, f[50], f[51]);
    f[55] = bps.value;
    CurrencyFromUnitText(bps.label, f[56], f[57]);
    f[61] = WithoutPercent(roe);
    f[62] = total.value;
    CurrencyFromUnitText(total.label, f[63], f[64]);
    f[42] = UnitText(dividendLabel);
    ReadDividend(dividendValue, rpi);
    f[150] = issued;
    f[32] = ValueAfterMarker(issued, "発行済み株数：");
    f[35] = ValueAfterMarker(tradableA, "流通Ａ株：");
    f[36] = ValueAfterMarker(tradableB, "流通Ｂ株：");
    f[37] = SharePercent(f[35], f[32]);
    f[38] = SharePercent(f[36], f[32]);
    ZeroNumbersBeyondRange(rpi);
}

}  // namespace collect
