#include "collect/company_pages/jp_quote_page.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "collect/child/report_numbers.h"
#include "collect/company_pages/quote_dates.h"
#include "collect/company_pages/quote_label_scan.h"
#include "collect/web/label_lookup.h"
#include "collect/web/page_cell_scan.h"
#include "common/text/text_compare.h"
#include "common/text/web_text.h"
#include "platform/date.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

// The raw texts under the labels of the page, before the field rules.
enum Raw : std::size_t {
    kTrade, kChange, kPrevClose, kVolume, kMarketValue, kOpen, kHigh, kLow, kOffer, kBid, kShares, kYield,
    kDividend, kUnitShares, kPer, kEps, kPbr, kBps, kEquityRatio, kRoe, kRoa, kAdjustedEps, kFiscal, kRawCount
};

constexpr std::array<std::string_view, kRawCount> kLabels{
    "取引値", "前日比", "前日終値", "出来高", "時価総額", "始値", "高値", "安値", "売気配", "買気配", "発行済株式数",
    "配当利回り", "1株配当", "単元株数", "株価収益率", "1株利益", "純資産倍率", "1株株主資本", "株主資本比率",
    "株主資本利益率", "総資産利益率", "調整1株益", "決算年月",
};

std::string Clean(const std::string& text, std::string_view marker, std::string_view replacement,
                  std::string_view unit = "") {
    return common::CleanField(true, text, marker, replacement, unit);
}

// Name and market from the title's last two blank-separated items: the name,
// then "market:code".
void ReadTitle(const std::string& title, marketdata::RpiRec& rpi) {
    long count = 0;
    std::vector<std::string> items;
    common::SplitNonEmpty(title, " ", count, items);
    if (items.empty()) return;
    const std::string& marketItem = items.back();
    rpi.Text[2] = items.size() >= 2 ? items[items.size() - 2] : marketItem;
    if (items.size() < 2) return;
    std::string market = marketItem.substr(0, marketItem.find(':'));
    for (const char* removed : {",", "(", ")", "（", "）", "【"}) common::ReplaceInPlace(market, removed, "");
    rpi.Text[3] = market.substr(0, market.find("："));
}

// Date, price and the rest of the trade cell. A time of day stands for today;
// a month and day after today belong to last year.
void ReadTrade(std::string text, marketdata::RpiRec& rpi) {
    if (common::NormalizeForCompare(platform::TrimBlanks(text)) == common::NormalizeForCompare("--- ---")) {
        rpi.Text[9] = kNoQuoteDate;
        rpi.Text[10] = "0";
        return;
    }
    const platform::Date today = platform::Now().date;
    const std::size_t day = text.find("日");
    if (day != std::string::npos) {
        const std::size_t afterDay = day + std::string_view("日").size();
        const std::string date = text.substr(0, afterDay);
        text = QuoteDateText(date).value_or(MonthDayQuoteDate(date, today).value_or(kNoQuoteDate)) + " " +
               text.substr(afterDay);
    }
    long count = 0;
    std::vector<std::string> items;
    common::SplitNonEmpty(Clean(text, "", ""), " ", count, items);
    for (const std::string& item : items) {
        if (item.find(':') != std::string::npos) {
            rpi.Text[9] = platform::DateText(today);
        } else if (std::optional<std::string> date = MonthDayQuoteDate(item, today)) {
            rpi.Text[9] = *date;
        } else if (std::optional<std::string> full = QuoteDateText(item)) {
            rpi.Text[9] = *full;
        } else if (platform::IsNumericText(item)) {
            rpi.Text[10] = common::NumberTextOrZero(item);
        } else {
            rpi.Text[11] = item;
        }
    }
}

// A figure with its kind ("(連) 15.2倍"): the kind and the value without `unit`.
void ReadKindAndValue(const std::string& text, std::string_view marker, std::string_view unit, std::string& kind,
                      std::string& value) {
    kind = "-";
    value = "0";
    common::SplitPair(true, text, marker, "-", "0", " ", unit, kind, value);
}

}  // namespace

std::int32_t CheckJapanQuotePage(const PageCellTable& table, std::int32_t& row, std::int32_t& col) {
    row = 0;
    col = 0;
    // The start found last wins, unless the page says there is no such stock.
    ScanPageCells(table, 1, 1, [&](std::int32_t r, std::int32_t c, const std::string& cell) {
        if (cell.find("現在の日時") != std::string::npos) {
            row = r;
            col = c;
        }
        if (cell.find("新規デザイン作成") != std::string::npos) {
            row = r + 2;
            col = c;
        }
        for (const char* missing : {"指定された URL は存在しません", "一致する銘柄はありません", "見つかりませんでした"}) {
            if (cell.find(missing) != std::string::npos) {
                row = 0;
                col = 0;
                return false;
            }
        }
        return true;
    });
    return row;
}

void ParseJapanQuote(const marketdata::CdmRec&, marketdata::RpiRec& rpi, const PageCellTable& table,
                     std::int32_t row, std::int32_t col) {
    std::array<std::string, kRawCount> raw;
    std::vector<QuoteLabel> labels;
    for (std::size_t n = 0; n < kRawCount; ++n) labels.push_back({kLabels[n], false, kBelow, &raw[n]});
    ScanQuoteLabels(table, row, col, labels);

    auto& f = rpi.Text;
    ReadTitle(platform::TrimBlanks(table.At(row, col)), rpi);
    if (!raw[kTrade].empty()) ReadTrade(raw[kTrade], rpi);
    std::string change;
    common::SplitPair(true, raw[kChange], "", "-", "0", " ", "%", change, f[13]);
    f[12] = common::NumberTextOrZero(change);
    f[14] = Clean(raw[kPrevClose], "---", "0");
    f[15] = Clean(raw[kVolume], "---", "0");
    SplitNumberAndRest(raw[kMarketValue], f[18], f[19]);
    f[20] = Clean(raw[kOpen], "---", "0");
    f[21] = Clean(raw[kHigh], "---", "0");
    f[22] = Clean(raw[kLow], "---", "0");
    f[83] = Clean(raw[kOffer], "---", "0");
    f[86] = Clean(raw[kBid], "---", "0");
    f[32] = Clean(raw[kShares], "---株", "-", "株");
    common::NumericOrZero(f[32]);
    f[39] = Clean(raw[kYield], "---%", "0", "%");
    f[40] = Clean(raw[kDividend], "---円", "0", "円");
    f[8] = Clean(raw[kUnitShares], "---株", "1", "株");
    if (f[8] == "---") f[8] = "1";
    ReadKindAndValue(raw[kPer], "---倍", "倍", f[43], f[44]);
    ReadKindAndValue(raw[kEps], "---円", "円", f[46], f[47]);
    ReadKindAndValue(raw[kPbr], "---倍", "倍", f[52], f[53]);
    ReadKindAndValue(raw[kBps], "---円", "円", f[54], f[55]);
    // A value without its kind arrives in the kind's place.
    if (f[54].find("円") != std::string::npos) {
        f[55] = f[54];
        f[54] = "-";
    }
    common::ReplaceInPlace(f[55], "円", "");
    ReadKindAndValue(raw[kEquityRatio], "---%", "%", f[58], f[59]);
    ReadKindAndValue(raw[kRoe], "---%", "%", f[60], f[61]);
    ReadKindAndValue(raw[kRoa], "---%", "%", f[65], f[66]);
    ReadKindAndValue(raw[kAdjustedEps], "---円", "円", f[67], f[68]);
    f[70] = platform::TrimBlanks(raw[kFiscal]) == "---" ? "000000" : YearMonthText(raw[kFiscal]);
    ZeroNumbersBeyondRange(rpi);
}

}  // namespace collect
