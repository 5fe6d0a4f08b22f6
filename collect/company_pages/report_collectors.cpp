#include "collect/company_pages/report_collectors.h"

#include <cstdint>

#include "collect/company_pages/cn_quote_page.h"
#include "collect/company_pages/company_page_collector.h"
#include "collect/company_pages/jp_quote_page.h"
#include "collect/company_pages/report_to_code_master.h"
#include "collect/company_pages/us_quote_page.h"
#include "common/run_state.h"
#include "common/settings/exchange_rates.h"
#include "common/settings/settings.h"
#include "common/text/web_text.h"
#include "marketdata/industry_list.h"
#include "marketdata/market_report.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

using marketdata::CdmRec;
using marketdata::RpiRec;

// Read once before a part's companies.
struct ReportSettings {
    bool addToSeries = false;
    common::ExchangeRate rate;
};
ReportSettings& Settings() {
    static ReportSettings settings;
    return settings;
}

bool RunReports(const CompanyPageKind& kind, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    ReportSettings& settings = Settings();
    settings.addToSeries = platform::TrimBlanks(common::ReadSetting("MirControl\\HpGet\\HpRepToHp")) == "1";
    settings.rate = common::ReadExchangeRates(static_cast<int>(common::State().context.countryIndex));
    CompanyPageRun run(kind, env, msg, task);
    run.Run();
    return true;
}

// Japan and the United States: the stored rate of the country's currency.
void ApplyStoredRate(RpiRec& rpi) {
    const common::ExchangeRate& rate = Settings().rate;
    rpi.Text[4] = rate.date;
    rpi.Text[5] = rate.time;
    rpi.Text[6] = rate.currencyCode;
    rpi.Text[7] = rate.rateText;
    ConvertReportCurrency(rate.rate, rpi);
}

void CopyMarketCodes(const CdmRec& company, RpiRec& rpi) {
    rpi.Key.IndCode0020 = company.Key.IndCode0020;
    rpi.Key.IndCode0030 = company.Key.IndCode0030;
}

// The steps after a page was read: the code-master values, the market codes,
// the report line and, when asked, the price series.
void FinishCompany(CompanyPageRun& run, CdmRec& company, RpiRec& rpi, bool china, bool seriesAllowed,
                   std::string& resultLine) {
    ReportToCdmRec(company, rpi, china);
    marketdata::FillIndustryLevels(0, company, run.industries());
    CopyMarketCodes(company, rpi);
    rpi.Text[1].clear();
    marketdata::RpiRecToLine(rpi, resultLine);
    if (Settings().addToSeries && seriesAllowed) UpdatePriceFromReport(run.env, company, rpi, china);
}

// Fetches the page and finds the quote's start; false after the warning.
bool ReadQuotePage(CompanyPageRun& run, const CdmRec& company, const std::string& url, const std::string& tag,
                   std::int32_t (*check)(const PageCellTable&, std::int32_t&, std::int32_t&), std::int32_t& row,
                   std::int32_t& col) {
    FetchRec fetch;
    if (!run.Fetch(fetch, url, tag, company)) return false;
    if (check(PageText(), row, col) > 0) return true;
    run.LogMissing("無し(1) ", company);
    return false;
}

bool CollectJapan(CompanyPageRun& run, CdmRec& company, std::string& resultLine) {
    RpiRec rpi;
    rpi.Key = company.Key;
    std::int32_t row = 0, col = 0;
    const std::string code = platform::TrimBlanks(company.Key.CorpCode);
    if (!ReadQuotePage(run, company, CompanyUrl(common::State().context.urlTemplate1, code), "ARPJP30M(3)：",
                       CheckJapanQuotePage, row, col)) {
        return false;
    }
    ParseJapanQuote(company, rpi, PageText(), row, col);
    ApplyStoredRate(rpi);
    marketdata::MarketName(company) = rpi.Text[3];
    const std::string& price = rpi.Text[10];
    const bool priced = platform::IsNumericText(price) && *platform::ParseCurrency(price) != platform::Currency();
    FinishCompany(run, company, rpi, false, priced, resultLine);
    return true;
}

bool CollectChina(CompanyPageRun& run, CdmRec& company, std::string& resultLine) {
    const common::ProcessContext& context = common::State().context;
    RpiRec rpi;
    rpi.Key = company.Key;
    std::int32_t row = 0, col = 0;
    const std::string code = platform::TrimBlanks(company.Key.CorpCode);
    std::string quoteCode = code;
    common::ReplaceInPlace(quoteCode, "^", "");
    if (!ReadQuotePage(run, company, CompanyUrl(context.urlTemplate1, quoteCode), "ARPCH30M：", CheckChinaQuotePage,
                       row, col)) {
        return false;
    }
    ParseChinaQuote(company, rpi, PageText(), row, col);
    // The quote page names no market: the company keeps the market name and
    // codes its profile gave it.
    marketdata::FillIndustryLevels(0, company, run.industries());
    CopyMarketCodes(company, rpi);
    // Without its financials the quote is still written.
    if (ReadQuotePage(run, company, CompanyUrl(context.urlTemplate2, code), "AFINC40M(3)：",
                      CheckChinaFinancialsPage, row, col)) {
        ParseChinaFinancials(rpi, PageText(), row, col);
    }
    FinishCompany(run, company, rpi, true, true, resultLine);
    return true;
}

bool CollectUs(CompanyPageRun& run, CdmRec& company, std::string& resultLine) {
    RpiRec rpi;
    rpi.Key = company.Key;
    std::int32_t row = 0, col = 0;
    const std::string code = platform::TrimBlanks(company.Key.CorpCode);
    if (!ReadQuotePage(run, company, CompanyUrl(common::State().context.urlTemplate1, code), "ARPUS30M(3)：",
                       CheckUsQuotePage, row, col)) {
        return false;
    }
    ParseUsQuote(company, rpi, PageText(), row, col);
    ApplyStoredRate(rpi);
    marketdata::MarketName(company) = rpi.Text[3];
    FinishCompany(run, company, rpi, false, true, resultLine);
    return true;
}

constexpr CompanyPageKind kJapan{"ARPJP30M", CollectJapan};
constexpr CompanyPageKind kChina{"ARPCH30M", CollectChina};
constexpr CompanyPageKind kUs{"ARPUS30M", CollectUs};

}  // namespace

bool ARPJP30M(long, const std::string&, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    return RunReports(kJapan, env, msg, task);
}

bool ARPCH30M(long, const std::string&, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    return RunReports(kChina, env, msg, task);
}

bool ARPUS30M(long, const std::string&, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    return RunReports(kUs, env, msg, task);
}

}  // namespace collect
