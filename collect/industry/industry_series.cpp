#include "collect/industry/industry_series.h"

#include <optional>
#include <string>
#include <vector>

#include "collect/industry/calendar_alignment.h"
#include "collect/industry/industry_day_table.h"
#include "collect/prices/price_row_files.h"
#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/files/key_layout.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "marketdata/price_series.h"
#include "marketdata/split_run_frame.h"
#include "platform/file_system.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr const char* kOwnId = "AHPID30M";
constexpr long kPriceKind = 1;  // the Term of the price history
constexpr const char* kNoDate = "1900/01/01";

using Rows = std::vector<marketdata::PriceRec>;

std::string Trim(const std::string& text) { return platform::TrimBlanks(text); }

std::string Count(long n) { return platform::FormatNumber(static_cast<double>(n), "####0"); }

std::string Label(const marketdata::CdmRec& rec) {
    return Trim(rec.Key.CorpCode) + "(" + Trim(marketdata::CompanyName(rec)) + ")";
}

bool IsSector(const marketdata::CdmRec& rec) { return Trim(rec.Key.Category) == "0050"; }

bool IsIndustry(const marketdata::CdmRec& rec) {
    const std::string category = Trim(rec.Key.Category);
    return category == "0050" || category == "0060";
}

// A sector's members carry its code as their sector code, a research-provider
// industry's as their research-industry code; a blank code joins nothing.
bool IsMember(const marketdata::CdmRec& industry, const marketdata::CdmRec& stock) {
    const std::string code = Trim(industry.Key.CorpCode);
    const std::string& own = IsSector(industry) ? stock.Key.IndCode0050 : stock.Key.IndCode0060;
    return !code.empty() && Trim(own) == code;
}

// The stock's unit shares / 1000; none when they are not a number above 0,
// which would only drag the industry's averages towards 0.
std::optional<platform::Currency> MemberWeight(const marketdata::CdmRec& stock) {
    const std::optional<platform::Currency> units = platform::ParseCurrency(stock.InfoText[139 - 133]);
    if (!units || *units <= platform::Currency{}) return std::nullopt;
    return *units / 1000;
}

// A row whose file gave no readable price (read as 0) would likewise only
// drag the averages down: it adds nothing, nor to the day's count.
bool HasPrices(const marketdata::PriceRec& rec) {
    const platform::Currency zero;
    return rec.Open > zero && rec.High > zero && rec.Low > zero && rec.Close > zero && rec.AdjClose > zero;
}

std::string DateOrNone(const std::string& date) {
    const std::string trimmed = Trim(date);
    return trimmed.empty() ? kNoDate : trimmed;
}

class IndustryBuild {
public:
    IndustryBuild(common::EnvRec& env, common::MSGRec& msg, std::vector<std::string> calendar)
        : env_(env), msg_(msg), calendar_(std::move(calendar)) {}

    // The number of industry series written.
    long Run(marketdata::CdmTbl& tbl);

private:
    // Whether the industry's series was written.
    bool BuildIndustry(marketdata::CdmRec& industry, const std::vector<const marketdata::CdmRec*>& stocks);
    bool AddMember(const marketdata::CdmRec& stock, const std::string& startDate, long baseDateT);
    void WriteSeries(marketdata::CdmRec& industry, const Rows& rows);
    void Log(const std::string& tag, const std::string& text) {
        common::WriteRunLog(common::LogSwitch(1), kOwnId, tag, "00", text);
    }

    common::EnvRec& env_;
    common::MSGRec& msg_;
    std::vector<std::string> calendar_;
    HpdTbl table_;
    Rows memberRows_;
    bool newDays_ = false;
    long outsideTable_ = 0;
};

long IndustryBuild::Run(marketdata::CdmTbl& tbl) {
    std::vector<marketdata::CdmRec*> industries;
    std::vector<const marketdata::CdmRec*> stocks;
    for (marketdata::CdmRec& rec : tbl) {
        if (IsIndustry(rec)) industries.push_back(&rec);
        if (Trim(rec.Key.Category) == "1000") stocks.push_back(&rec);
    }
    msg_.DisplayOn = true;
    msg_.lngDenominator = static_cast<long>(industries.size()) - 1;
    long written = 0;
    for (std::size_t k = 0; k < industries.size(); ++k) {
        marketdata::CdmRec& industry = *industries[k];
        msg_.lngNumerator = static_cast<long>(k);
        msg_.LabelText2 = "\r\n\r\n処理済件数　" + Count(msg_.lngNumerator) + " / " + Count(msg_.lngDenominator) +
                          "\r\n" + (IsSector(industry) ? "業種" : "ﾛｲﾀｰ") + "：" + Label(industry) + "\r\n";
        msg_.LabelText3.clear();
        common::ShowProgress(msg_);
        if (BuildIndustry(industry, stocks)) ++written;
    }
    msg_.LabelText2.clear();
    msg_.LabelText3.clear();
    return written;
}

bool IndustryBuild::BuildIndustry(marketdata::CdmRec& industry,
                                  const std::vector<const marketdata::CdmRec*>& stocks) {
    marketdata::TermRec& term = industry.Term[kPriceKind];
    const std::string startDate = DateOrNone(term.LastDate);
    const long baseDateF = DayRow(DateOrNone(term.FirstDate));
    const long baseDateT = DayRow(startDate);
    common::WriteInfoLog(common::LogSwitch(10), kOwnId, common::log_tag::kDebug, "00",
                         "HpdTbl(1).Date=" + DayRowDate(1) + " HpdTbl(CnsChartMax).Date=" + DayRowDate(CnsChartMax) +
                             " CdmTbl(I).Term(CnsProcIdx_AHPRI000).FirstDate=" + term.FirstDate +
                             " CdmTbl(I).Term(CnsProcIdx_AHPRI000).LastDate=" + term.LastDate +
                             " BaseDateF=" + std::to_string(baseDateF) + " BaseDateT=" + std::to_string(baseDateT));
    table_.Clear();
    newDays_ = false;
    outsideTable_ = 0;
    long members = 0;
    bool anySeries = false;
    for (const marketdata::CdmRec* stock : stocks) {
        if (!IsMember(industry, *stock)) continue;
        ++members;
        msg_.LabelText3 = "銘柄：" + Label(*stock) + "\r\n";
        common::ShowProgress(msg_);
        if (AddMember(*stock, startDate, baseDateT)) anySeries = true;
    }
    IndustryMemberCount(industry) = platform::FormatNumber(static_cast<double>(members), "000000");
    const std::string name = (IsSector(industry) ? "業種：" : "ﾛｲﾀｰ：") + Label(industry);
    if (outsideTable_ > 0) {
        Log(common::log_tag::kWarning, name + " 日付が範囲外の株価を読み飛ばしました。　件数=" + std::to_string(outsideTable_));
    }
    if (!anySeries) {
        Log(common::log_tag::kInfo, name + " 構成銘柄の株価時系列データが存在しないため、作成しません。　");
        return false;
    }
    if (!newDays_) return false;
    Rows rows;
    table_.BuildRows(rows);
    const std::string firstDate = DateOrNone(term.FirstDate);
    if (firstDate == kNoDate || firstDate > rows.front().Text[0]) term.FirstDate = rows.front().Text[0];
    if (startDate < rows.back().Text[0]) term.LastDate = rows.back().Text[0];
    WriteSeries(industry, rows);
    return true;
}

// Adds the member's rows from `baseDateT` on; false when it has no series to add.
bool IndustryBuild::AddMember(const marketdata::CdmRec& stock, const std::string& startDate, long baseDateT) {
    if (!marketdata::LoadPriceSeriesByNumber(env_, marketdata::kPriceSeriesFileNumber,
                                             marketdata::PriceFileNamePart(stock.Key, "D"), ".txt", memberRows_)) {
        return false;
    }
    const std::optional<platform::Currency> weight = MemberWeight(stock);
    if (!weight) {
        Log(common::log_tag::kWarning,
            "銘柄：" + Label(stock) + " 単元株数が不正なため、業種の株価に加えません。　単元株数=" +
                stock.InfoText[139 - 133]);
        return false;
    }
    AlignSeriesToCalendar(startDate, calendar_, memberRows_);
    for (const marketdata::PriceRec& rec : memberRows_) {
        const long row = DayRow(rec.Date);
        if (row == 0) {
            ++outsideTable_;
            continue;
        }
        if (row < baseDateT || !HasPrices(rec)) continue;
        newDays_ = true;
        table_.Add(row, rec, *weight);
    }
    return true;
}

// The recomputed days replace those of the stored series in one rename, so
// the series is whole at every moment.
void IndustryBuild::WriteSeries(marketdata::CdmRec& industry, const Rows& rows) {
    const std::string namePart = marketdata::PriceFileNamePart(industry.Key, "D");
    marketdata::CFHPJ50M(env_, marketdata::kPriceSeriesFileNumber, namePart, ".tmp", rows);
    const std::string base = common::CFFIL02M({marketdata::kPriceSeriesFileNumber, 0, 0, namePart, ""}, env_);
    std::vector<std::string> merged;
    CFHPJR0M(base, ".tmp", ".txt", merged);
    if (platform::FileExists(base + ".tmp")) common::CFFIL60M(base + ".tmp", base + ".txt");
}

}  // namespace

long AHPID30M(common::EnvRec& env, common::MSGRec& msg) {
    common::ProcedureIdGuard guard(kOwnId);
    const std::string processName = common::State().context.processName;
    common::WriteProcLog(common::LogSwitch(1), kOwnId, common::log_tag::kStart, "00",
                         std::string(kOwnId) + " Start : " + processName);
    std::vector<std::string> calendar;
    CFCND10M("", env, calendar);
    std::erase_if(calendar, [](std::string& day) {
        day = Trim(day);
        return day.empty();
    });
    common::SortKeyRec keys;
    common::SetKeyLayout3(keys);
    marketdata::CdmTbl tbl;
    long written = 0;
    if (marketdata::CFCDM11M(msg, marketdata::kCodeMasterFileNumber, 0, 0, "", "JPN", "", "", env, keys, tbl)) {
        written = IndustryBuild(env, msg, std::move(calendar)).Run(tbl);
        marketdata::WriteCodeMaster(marketdata::kCodeMasterFileNumber, 0, 0, "", ".tmp", static_cast<long>(tbl.size()),
                                    env, tbl);
        marketdata::RefreshCodeMaster(marketdata::kCodeMasterFileNumber, 0, 0, "", env, msg);
    } else {
        common::WriteInfoLog(common::LogSwitch(1), kOwnId, common::log_tag::kWarning, "00",
                             "処理対象の企業が存在しません。　");
        marketdata::ShowNoCompanyWarning();
    }
    common::WriteProcLog(common::LogSwitch(1), kOwnId, common::log_tag::kEnd, "00",
                         std::string(kOwnId) + " End   : " + processName);
    return written;
}

}  // namespace collect
