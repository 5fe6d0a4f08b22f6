#include "marketdata/market_report.h"

#include <cstddef>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/text/text_compare.h"
#include "common/text/web_text.h"
#include "marketdata/text_record_line.h"
#include "platform/date.h"
#include "platform/numeric_text.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

using platform::Currency;

constexpr std::size_t kFirstRowAverage = 8;  // price-row columns 8-19 go to RptText23-34
constexpr std::size_t kFirstAverageText = 23;

// The first `count` texts of the line in order; `R` is RpiRec or const RpiRec.
template <class R>
auto TextsOf(R& rec, long count = kRpiTextCount) {
    std::vector<decltype(&rec.Text[0])> texts;
    texts.reserve(static_cast<std::size_t>(count));
    for (long n = 1; n <= count; ++n) texts.push_back(&rec.Text[static_cast<std::size_t>(n)]);
    return texts;
}

// Column 6 (adjusted close) when it is a number above 0, else column 4 (close).
const std::string& PriceText(const PriceRec& row) {
    const std::optional<Currency> adjusted = platform::ParseCurrency(row.Text[6]);
    return adjusted && *adjusted > Currency() ? row.Text[6] : row.Text[4];
}

// The date and price fields that rows n-1, n-2 and n-3 fill.
struct EarlierRowFields {
    std::size_t date;
    std::size_t price;
};
constexpr EarlierRowFields kEarlierRows[] = {{15, 18}, {19, 20}, {21, 22}};

// The split notice of a split row, cleaned to "a:b"; nullopt when the row
// announces no split.
std::optional<std::string> SplitText(const PriceRec& row) {
    std::string text = platform::TrimBlanks(row.Text[1] + row.Text[2] + row.Text[3] + row.Text[4] + row.Text[5]);
    if (text.find("分割") == std::string::npos && text.find("Split") == std::string::npos) return std::nullopt;
    for (const char* removed : {"Stock Split", "分割:", "株"}) common::ReplaceInPlace(text, removed, "");
    common::ReplaceInPlace(text, "->", ":");
    common::ReplaceInPlace(text, " ", "");
    return text;
}

// The text of one derived value, "0" when `compute` gives none. A result
// beyond the Currency range is logged and also shown as "0", never wrapped.
template <class Compute>
std::string DerivedText(const CdmRec& cdm, const char* field, Compute compute) {
    try {
        const std::optional<Currency> value = compute();
        return value ? value->ToText() : "0";
    } catch (const platform::TrappedError& error) {
        if (error.number() != platform::error_number::kOverflow) throw;
        const common::RunState& state = common::State();
        common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                              "計算結果が範囲を超えたため0としました。　" + std::string(field) + "　" +
                                  platform::TrimBlanks(cdm.Key.Market) + "-" + platform::TrimBlanks(cdm.Key.CorpCode) +
                                  "　株価=" + cdm.RptText[9]);
        return "0";
    }
}

// price x shares x unit shares, rounded once. A product that even 128 bits
// cannot hold lies far beyond the Currency range.
Currency MarketValue(const Currency& price, const Currency& shares, const Currency& unit) {
    const __int128 partial = static_cast<__int128>(price.raw()) * shares.raw();
    __int128 product = 0;
    if (__builtin_mul_overflow(partial, static_cast<__int128>(unit.raw()), &product)) {
        platform::RaiseError(platform::error_number::kOverflow, "CalcReportDerived");
    }
    return Currency::FromRawRatio(product, static_cast<__int128>(Currency::kScale) * Currency::kScale);
}

}  // namespace

void RpiRecToLine(const RpiRec& rec, std::string& line) { TextRecordToLine(rec.Key, TextsOf(rec), line); }

bool LineToRpiRec(std::string_view line, RpiRec& rec) {
    if (LineToTextRecord(line, rec.Key, TextsOf(rec))) return true;
    RpiRec shortRec;
    if (!LineToTextRecord(line, shortRec.Key, TextsOf(shortRec, kRpiShortFieldCount - kKeyFieldCount))) return false;
    rec = std::move(shortRec);
    return true;
}

void CopyRpiRec(RpiRec& target, const RpiRec& work) { CopyTexts(TextsOf(target), TextsOf(work)); }

void CheckStockSplit(CdmRec& cdm, std::span<const PriceRec> rows, std::span<const PriceRec> splitRows) {
    if (rows.empty()) return;
    const PriceRec& latest = rows.back();
    // The master may already hold a later price, e.g. from a market report.
    if (common::NormalizeForCompare(cdm.RptText[8]) > common::NormalizeForCompare(latest.Text[0])) return;

    cdm.RptText[8] = latest.Text[0];
    cdm.RptText[9] = PriceText(latest);
    cdm.RptText[10] = latest.Text[5];
    cdm.RptText[11] = latest.Text[1];
    cdm.RptText[12] = latest.Text[2];
    cdm.RptText[13] = latest.Text[3];
    const platform::DateTime now = platform::Now();
    cdm.RptText[1] = "2";
    cdm.RptText[2] = platform::DateText(now.date);
    cdm.RptText[3] = platform::TimeText(now.hour, now.minute, now.second);
    for (std::size_t back = 1; back <= std::size(kEarlierRows) && back < rows.size(); ++back) {
        const PriceRec& row = rows[rows.size() - 1 - back];
        cdm.RptText[kEarlierRows[back - 1].date] = row.Text[0];
        cdm.RptText[kEarlierRows[back - 1].price] = PriceText(row);
    }
    for (std::size_t c = kFirstRowAverage; c < kPriceTextColumns; ++c) {
        cdm.RptText[kFirstAverageText + c - kFirstRowAverage] = latest.Text[c];
    }
    CalcReportDerived(cdm);

    cdm.InfoText[20].clear();
    cdm.InfoText[21].clear();
    for (auto row = splitRows.rbegin(); row != splitRows.rend(); ++row) {
        if (std::optional<std::string> split = SplitText(*row)) {
            cdm.InfoText[20] = row->Text[0];
            cdm.InfoText[21] = std::move(*split);
            return;
        }
    }
}

void CalcReportDerived(CdmRec& cdm) {
    std::string& marketValue = cdm.RptText[14];
    std::string& change = cdm.RptText[16];
    std::string& ratio = cdm.RptText[17];
    std::string& yield = cdm.InfoText[13];
    if (!platform::IsNumericText(cdm.RptText[9])) {
        marketValue = change = ratio = yield = "0";
        return;
    }
    const auto price = [&cdm] { return *platform::ParseCurrency(cdm.RptText[9]); };
    const auto previousClose = [&cdm]() -> std::optional<Currency> {
        const std::optional<Currency> close = platform::ParseCurrency(cdm.RptText[18]);
        return close && *close > Currency() ? close : std::nullopt;
    };
    change = DerivedText(cdm, "RptText16", [&]() -> std::optional<Currency> {
        const std::optional<Currency> close = previousClose();
        return close ? std::optional(price() - *close) : std::nullopt;
    });
    ratio = DerivedText(cdm, "RptText17", [&]() -> std::optional<Currency> {
        const std::optional<Currency> close = previousClose();
        return close ? std::optional(price() / *close - Currency(1)) : std::nullopt;
    });
    marketValue = DerivedText(cdm, "RptText14", [&]() -> std::optional<Currency> {
        const std::optional<Currency> shares = platform::ParseCurrency(cdm.RptText[7]);
        const std::optional<Currency> unit = platform::ParseCurrency(cdm.InfoText[6]);
        return shares && unit ? std::optional(MarketValue(price(), *shares, *unit)) : std::nullopt;
    });
    yield = DerivedText(cdm, "InfoText013", [&]() -> std::optional<Currency> {
        const std::optional<Currency> perShare = platform::ParseCurrency(cdm.InfoText[12]);
        const Currency p = price();
        if (!perShare || p <= Currency()) return std::nullopt;
        return Currency::FromRawRatio(static_cast<__int128>(perShare->raw()) * 100 * Currency::kScale, p.raw());
    });
}

}  // namespace marketdata
