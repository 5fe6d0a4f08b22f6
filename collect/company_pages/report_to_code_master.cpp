#include "collect/company_pages/report_to_code_master.h"

#include <algorithm>
#include <optional>
#include <set>
#include <span>
#include <vector>

#include "collect/child/report_numbers.h"
#include "collect/company_pages/quote_dates.h"
#include "collect/prices/moving_averages.h"
#include "collect/prices/price_merge.h"
#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/text_file_read.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/text/web_text.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

using marketdata::CdmRec;
using marketdata::PriceRec;
using marketdata::RpiRec;
using platform::Currency;

constexpr std::size_t kReportMark = 6;  // ProcMark of the market report
constexpr std::size_t kPriceMark = 1;   // ProcMark and Term of the price series
constexpr const char* kDaily = "D";
constexpr std::size_t kDateLength = 10;  // "yyyy/mm/dd" opening a series line

std::string Trim(std::string_view text) { return platform::TrimBlanks(text); }

// Where a code-master value comes from.
enum class From {
    kPresent,  // "1"
    kKeyDate,  // the report Key's update date
    kKeyTime,  // and time
    kField,    // the field as it stands
    kTrimmed,  // the field trimmed
    kScaled,   // ScaleByUnit(field, unit field)
    kShares,   // China: ScaleByUnit(field, 50); others: field 32 only
};

enum class Area { kRpt, kInfo };

struct ReportValue {
    Area area;
    std::size_t index;  // RptText[index] or InfoText[index]
    From from;
    std::size_t field = 0;
    std::size_t unitField = 0;
};

constexpr std::size_t kShareUnitField = 50;

// Report values to code-master fields, in the order they are copied.
constexpr ReportValue kReportValues[] = {
    {Area::kRpt, 1, From::kPresent},
    {Area::kRpt, 2, From::kKeyDate},
    {Area::kRpt, 3, From::kKeyTime},
    {Area::kRpt, 8, From::kField, 9},
    {Area::kRpt, 9, From::kField, 10},
    {Area::kRpt, 11, From::kField, 20},
    {Area::kRpt, 12, From::kField, 21},
    {Area::kRpt, 13, From::kField, 22},
    {Area::kRpt, 17, From::kField, 13},
    {Area::kRpt, 18, From::kField, 14},
    {Area::kRpt, 10, From::kScaled, 15, 16},
    {Area::kInfo, 18, From::kScaled, 18, 19},
    {Area::kInfo, 12, From::kScaled, 40, 42},
    {Area::kInfo, 15, From::kScaled, 47, 48},
    {Area::kInfo, 16, From::kScaled, 55, 56},
    {Area::kInfo, 19, From::kField, 19},
    {Area::kInfo, 7, From::kShares, 32},
    {Area::kInfo, 8, From::kShares, 35},
    {Area::kInfo, 9, From::kShares, 36},
    {Area::kInfo, 10, From::kField, 37},
    {Area::kInfo, 11, From::kField, 38},
    {Area::kInfo, 14, From::kField, 44},
    {Area::kInfo, 17, From::kField, 61},
    {Area::kInfo, 3, From::kField, 70},
    {Area::kRpt, 4, From::kField, 4},
    {Area::kRpt, 5, From::kField, 5},
    {Area::kRpt, 6, From::kField, 6},
    {Area::kRpt, 7, From::kField, 7},
    {Area::kInfo, 6, From::kField, 8},
    {Area::kInfo, 61, From::kTrimmed, 53},
    {Area::kInfo, 62, From::kTrimmed, 59},
    {Area::kInfo, 63, From::kTrimmed, 66},
    {Area::kInfo, 64, From::kTrimmed, 68},
};

// The sixteen figures converted by the rate, in the order of their targets
// InfoText022-037.
struct Figure {
    Area area;
    std::size_t index;
};
constexpr Figure kFigures[] = {
    {Area::kRpt, 9},   {Area::kRpt, 11},  {Area::kRpt, 12},  {Area::kRpt, 13},
    {Area::kRpt, 14},  {Area::kRpt, 16},  {Area::kRpt, 18},  {Area::kRpt, 20},
    {Area::kRpt, 22},  {Area::kRpt, 23},  {Area::kRpt, 27},  {Area::kRpt, 31},
    {Area::kInfo, 12}, {Area::kInfo, 15}, {Area::kInfo, 16}, {Area::kInfo, 18},
};
constexpr std::size_t kFirstConverted = 22;
constexpr long long kMarketValueDivisor = 1000000;

std::string& FieldOf(CdmRec& cdm, Area area, std::size_t index) {
    return area == Area::kRpt ? cdm.RptText[index] : cdm.InfoText[index];
}

// Logs a rate that cannot convert, once per currency and process.
void LogUnusableRate(const CdmRec& cdm) {
    static std::set<std::string> logged;
    const std::string currency = Trim(cdm.RptText[6]);
    if (!logged.insert(currency).second) return;
    const common::RunState& state = common::State();
    common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                          "為替レートが無いため換算できません。　" + currency + "　レート=" + Trim(cdm.RptText[7]));
}

// `line` in place of the lines of its date, else after the last line of an
// earlier date; every other line stays as it is.
void PutLineOfItsDate(const std::string& line, std::vector<std::string>& lines) {
    const std::string_view date = std::string_view(line).substr(0, kDateLength);
    const auto dateOf = [](const std::string& text) { return std::string_view(text).substr(0, kDateLength); };
    std::erase_if(lines, [&](const std::string& held) { return dateOf(held) == date; });
    const auto later = std::find_if(lines.rbegin(), lines.rend(), [&](const std::string& held) {
        return dateOf(held) <= date;
    });
    lines.insert(later.base(), line);
}

}  // namespace

void ConvertReportCurrency(const Currency& rate, RpiRec& rpi) {
    static constexpr std::pair<std::size_t, std::size_t> kConversions[] = {
        {10, 23}, {12, 24}, {14, 25}, {20, 26}, {21, 27}, {22, 28},
    };
    for (const auto& [source, target] : kConversions) {
        const std::string& text = rpi.Text[source];
        if (!platform::IsNumericText(text)) continue;
        const std::optional<Currency> value =
            WithinCurrencyRange("ConvertReportCurrency", text, [&] { return *platform::ParseCurrency(text) * rate; });
        rpi.Text[target] = value ? value->ToText() : "0";
    }
}

void ReportToCdmRec(CdmRec& cdm, const RpiRec& rpi, bool china) {
    for (const ReportValue& value : kReportValues) {
        const std::string& field = rpi.Text[value.field];
        std::string& target = FieldOf(cdm, value.area, value.index);
        switch (value.from) {
            case From::kPresent:
                target = "1";
                break;
            case From::kKeyDate:
                target = rpi.Key.UpdateDate;
                break;
            case From::kKeyTime:
                target = rpi.Key.UpdateTime;
                break;
            case From::kField:
                target = field;
                break;
            case From::kTrimmed:
                target = Trim(field);
                break;
            case From::kScaled:
                target = ScaleByUnit(field, rpi.Text[value.unitField]);
                break;
            case From::kShares:
                if (china) {
                    target = ScaleByUnit(field, rpi.Text[kShareUnitField]);
                } else if (value.field == 32) {
                    target = field;
                }
                break;
        }
    }
    marketdata::ProcMarkRec& mark = cdm.ProcMark[kReportMark];
    mark.MarkFlag = "1";
    mark.MarkDate = rpi.Key.UpdateDate;
    mark.MarkTime = rpi.Key.UpdateTime;
    marketdata::CalcReportDerived(cdm);
}

bool PriceRowFromReport(const CdmRec& cdm, const RpiRec& rpi, bool china, PriceRec& row) {
    const std::optional<std::string> date = QuoteDateText(rpi.Text[9]);
    const std::optional<Currency> price =
        platform::IsNumericText(rpi.Text[10]) ? platform::ParseCurrency(rpi.Text[10]) : std::nullopt;
    // A quote without its day or price would put a false row into the series.
    if (!date || *date == kNoQuoteDate || !price || *price <= Currency()) return false;
    std::string volume = "0";
    if (Trim(cdm.Key.Category) == "1000") {
        const std::string& quantity = rpi.Text[15];
        const std::optional<Currency> amount =
            platform::IsNumericText(quantity) ? platform::ParseCurrency(quantity) : std::nullopt;
        if (!amount || *amount <= Currency()) return false;
        volume = common::NumberTextOrZero(quantity);
        if (china) volume = ScaleByUnit(volume, Trim(rpi.Text[16]).empty() ? "1000" : rpi.Text[16]);
    }
    row = PriceRec();
    row.Text[0] = *date;
    row.Text[1] = rpi.Text[20];
    row.Text[2] = rpi.Text[21];
    row.Text[3] = rpi.Text[22];
    row.Text[4] = rpi.Text[10];
    row.Text[5] = volume;
    row.Text[6] = rpi.Text[10];
    row.Text[7] = "*";
    return true;
}

bool UpdatePriceFromReport(common::EnvRec& env, CdmRec& cdm, const RpiRec& rpi, bool china) {
    PriceRec today;
    if (!PriceRowFromReport(cdm, rpi, china, today)) return false;
    std::vector<PriceRec> rows;
    std::vector<PriceRec> splitRows;
    marketdata::LoadPriceSeries(marketdata::kPriceSeriesFileNumber, env, cdm.Key, kDaily, "", ".txt", rows);
    marketdata::LoadPriceSeries(marketdata::kSplitFileNumber, env, cdm.Key, kDaily, "", ".txt", splitRows);
    MergePriceRowsByDate(rows, std::span<const PriceRec>(&today, 1), rows);

    const std::string namePart = marketdata::PriceFileNamePart(cdm.Key, kDaily);
    const auto path = [&](const char* extension) {
        return common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0, namePart, extension, env);
    };
    // The file keeps every line it holds, also those the loader passes over
    // for the values above: only the report's own day changes.
    std::vector<std::string> lines;
    common::CFFIL21M(path(".txt"), lines);
    std::string line;
    marketdata::PriceRecToLine(today, line);
    PutLineOfItsDate(line, lines);
    marketdata::WritePriceSeries(env, marketdata::kPriceSeriesFileNumber, namePart, ".tmp", lines);
    // One rename over the series: deleting it first would leave a moment
    // without any series.
    common::CFFIL60M(path(".tmp"), path(".txt"));

    ComputeMovingAverages(rows);
    marketdata::CheckStockSplit(cdm, rows, splitRows);
    ConvertReportFigures(cdm);
    cdm.ProcMark[kPriceMark].MarkFlag = "1";
    cdm.Term[kPriceMark].FirstDate = rows.front().Text[0];
    cdm.Term[kPriceMark].LastDate = rows.back().Text[0];
    // The split check took the market values for the series' own ("2" and
    // the clock); they are the report's.
    cdm.RptText[1] = "1";
    cdm.RptText[2] = rpi.Key.UpdateDate;
    cdm.RptText[3] = rpi.Key.UpdateTime;
    marketdata::ProcMarkRec& mark = cdm.ProcMark[kReportMark];
    mark.MarkFlag = "1";
    mark.MarkDate = rpi.Key.UpdateDate;
    mark.MarkTime = rpi.Key.UpdateTime;
    return true;
}

void ConvertReportFigures(CdmRec& cdm) {
    const std::string rateText = Trim(cdm.RptText[7]);
    if (rateText.empty()) {
        LogUnusableRate(cdm);
        return;
    }
    const std::optional<Currency> rate =
        platform::IsNumericText(rateText) ? platform::ParseCurrency(rateText) : std::nullopt;
    const bool usable = rate && *rate != Currency();
    if (!usable) LogUnusableRate(cdm);
    for (std::size_t k = 0; k < std::size(kFigures); ++k) {
        std::string& target = cdm.InfoText[kFirstConverted + k];
        if (!usable) {
            target.clear();
            continue;
        }
        const bool marketValue = k + 1 == std::size(kFigures);
        ConvertFigure(*rate, Currency(marketValue ? kMarketValueDivisor : 1),
                      FieldOf(cdm, kFigures[k].area, kFigures[k].index), target);
    }
}

void ConvertFigure(const Currency& rate, const Currency& divisor, const std::string& source, std::string& target) {
    if (!platform::IsNumericText(source)) {
        target.clear();
        return;
    }
    const bool divided = divisor > Currency(1);
    const std::optional<Currency> value = WithinCurrencyRange("ConvertFigure", source, [&] {
        const Currency product = *platform::ParseCurrency(source) * rate;
        return divided ? product / divisor : product;
    });
    if (!value) {
        target = "0";
        return;
    }
    target = platform::FormatNumber(*value, divided ? "0.00" : "0");
}

}  // namespace collect
