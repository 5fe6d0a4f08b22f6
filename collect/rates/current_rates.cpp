#include "collect/rates/current_rates.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "collect/child/report_numbers.h"
#include "collect/rates/exchange_rate_files.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/label_lookup.h"
#include "collect/web/page_cell_scan.h"
#include "collect/web/page_fetch.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/process_context.h"
#include "common/text/web_text.h"
#include "platform/date.h"
#include "platform/date_parse.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr const char* kOwnId = "AEXCG15M";
constexpr const char* kRatesPath = "/investor/market/rates.asp?Region=1&Compare=7";
constexpr const char* kRatesSite = "Rates";

// The labels of the rates table in their lookup order, each with its place
// in kRateCodes.
struct RateLabel {
    const char* label;
    std::size_t index;
};
constexpr std::array<RateLabel, 7> kRateLabels{{
    {"日本円", 2}, {"英国ポンド", 6}, {"台湾ドル", 4}, {"中国元", 0}, {"米ドル", 1}, {"香港ドル", 3}, {"ユーロ", 5},
}};

struct RatesText {
    std::array<std::string, 7> rates;
    std::string generated;
};

void LogError(const std::string& code, const std::string& message) {
    common::WriteErrorLog(common::State().errorLogOn, kOwnId, common::log_tag::kErrApl, code, message);
}

// The cell below which the table's rows start; nullopt when no cell holds "通貨名".
std::optional<std::pair<std::int32_t, std::int32_t>> FindRatesTableStart(const PageCellTable& table) {
    std::optional<std::pair<std::int32_t, std::int32_t>> start;
    ScanPageCells(table, 1, 1, [&](std::int32_t row, std::int32_t col, const std::string& cell) {
        if (cell.find("通貨名") == std::string::npos) return true;
        start = std::make_pair(row + 1, col);
        return false;
    });
    return start;
}

RatesText ReadRatesTable(const PageCellTable& table, std::int32_t startRow, std::int32_t startCol) {
    RatesText out;
    std::int32_t found = 0;
    ScanPageCells(table, startRow, startCol, [&](std::int32_t row, std::int32_t col, const std::string& cell) {
        for (const RateLabel& label : kRateLabels) {
            LookupLabelValueContains(cell, kRight, "", found, label.label, out.rates[label.index], table, row, col);
        }
        LookupLabelValueContains(cell, kSameCell, "", found, "生成時刻", out.generated, table, row, col);
        return out.generated.empty() && found <= 7;
    });
    return out;
}

// The rates with the date and time of the generation text ("生成時刻 date
// time"); nullopt when its second and third items are not a date and a time,
// as the rates could not be dated.
std::optional<ExchangeRateRec> DatedRates(const RatesText& text) {
    long count = 0;
    std::vector<std::string> items;
    common::SplitNonEmpty(text.generated, " ", count, items);
    if (count < 3) return std::nullopt;
    const std::optional<platform::Date> date = platform::ParseDate(items[1]);
    const auto time = platform::ParseTimeText(items[2]);
    if (!date || !time) return std::nullopt;
    ExchangeRateRec rec;
    rec.RateDate = platform::DateText(*date);
    rec.RateTime = platform::TimeText(std::get<0>(*time), std::get<1>(*time), std::get<2>(*time));
    for (std::size_t i = 0; i < rec.Rates.size(); ++i) {
        rec.Rates[i] = WithinRangeOrZero(kRateCodes[i], common::NumberTextOrZero(text.rates[i]));
    }
    return rec;
}

void StoreRates(common::EnvRec& env, const ExchangeRateRec& rec) {
    common::WriteSetting("MirControl\\ComExcg\\ExcgDate", rec.RateDate);
    common::WriteSetting("MirControl\\ComExcg\\ExcgTime", rec.RateTime);
    for (std::size_t i = 0; i < rec.Rates.size(); ++i) {
        common::WriteSetting(std::string("MirControl\\ComExcg\\Excg") + kRateCodes[i], rec.Rates[i]);
    }
    CFEXC55M(env, kExchangeRateFileNumber, 1, "", "", rec);
}

bool CollectRates(common::EnvRec& env, const std::string& processName) {
    FetchRec fetch;
    fetch.Url = common::SiteBase(kRatesSite) + kRatesPath;
    const std::int32_t result = CWHTM12M(processName, kOwnId, fetch, PageText(), PageLink(), false);
    if (result <= 0) {
        LogError("00", processName + "の収集失敗\tRc=" + std::to_string(result));
        LogError("00", fetch.Url);
        return false;
    }
    const auto start = FindRatesTableStart(PageText());
    if (!start) {
        LogError("01", processName + "の収集失敗（収集開始位置の特定不能）");
        return false;
    }
    const RatesText text = ReadRatesTable(PageText(), start->first, start->second);
    const std::optional<ExchangeRateRec> rec = DatedRates(text);
    if (!rec) {
        LogError("02", processName + "の収集失敗（生成時刻の特定不能）\t" + text.generated);
        return false;
    }
    StoreRates(env, *rec);
    return true;
}

}  // namespace

bool AEXCG15M(common::EnvRec& env) {
    common::ProcedureIdGuard guard(kOwnId);
    const std::string processName = common::State().context.processName;
    common::WriteProcLog(common::LogSwitch(1), kOwnId, common::log_tag::kStart, "00",
                         std::string(kOwnId) + " Start : " + processName);
    BuildHtmlTagTable();
    const bool stored = CollectRates(env, processName);
    ClearWebWork();
    common::WriteProcLog(common::LogSwitch(1), kOwnId, common::log_tag::kEnd, "00",
                         std::string(kOwnId) + " End   : " + processName);
    return stored;
}

}  // namespace collect
