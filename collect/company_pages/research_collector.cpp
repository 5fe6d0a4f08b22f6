#include "collect/company_pages/research_collector.h"

#include <cstdint>

#include "collect/company_pages/company_page_collector.h"
#include "collect/company_pages/research_report_page.h"
#include "collect/web/page_cell_table.h"
#include "collect/web/page_fetch.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "marketdata/multex_record.h"
#include "marketdata/research_fields.h"

namespace collect {

namespace {

constexpr const char* kId = "AMLTX30M";
// The report site's answer for a stock it has no report page for.
constexpr std::int32_t kNoReportPage = -302;

bool CollectResearch(CompanyPageRun& run, marketdata::CdmRec& stock, std::string& resultLine) {
    marketdata::ResearchIndustryName(stock).clear();
    FetchRec fetch;
    fetch.Url = FillReportUrl(common::State().context.urlTemplate1, stock);
    const std::int32_t result =
        CWHTM12M(common::State().context.processName, kId, fetch, PageText(), PageLink(), false);
    std::int32_t row = 0;
    std::int32_t col = 0;
    if (result <= 0 && result != kNoReportPage) {
        run.LogMissing("無し(2) ", stock);
        return false;
    }
    if (result == kNoReportPage || CheckReportPage(PageText(), row, col) < 1) {
        run.LogMissing("無し(1) ", stock);
        return false;
    }
    marketdata::MultexRec report;
    ParseResearchReportPage(stock, PageText(), report);
    marketdata::MultexRecToLine(report, resultLine);
    marketdata::ProcMarkRec& mark = marketdata::ResearchMark(stock);
    mark.MarkFlag = "1";
    mark.MarkDate = report.Key.UpdateDate;
    mark.MarkTime = report.Key.UpdateTime;
    marketdata::ResearchIndustryName(stock) = report.Text[3];
    return true;
}

void LogNoStock() {
    common::WriteErrorLog(common::State().errorLogOn, kId, common::log_tag::kErrApl, "02",
                          std::string(kId) + "(2)：企業一覧が存在しません。");
}

constexpr CompanyPageKind kResearch{
    .id = kId,
    .collectCompany = CollectResearch,
    .categoryFilter = "",
    .preparingText = "ロイター業種の収集準備中",
    .usesIndustries = false,
    .logNoCompany = LogNoStock,
};

}  // namespace

bool AMLTX30M(long, const std::string&, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    CompanyPageRun(kResearch, env, msg, task).Run();
    return true;
}

}  // namespace collect
