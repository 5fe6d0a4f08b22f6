#include "collect/company_pages/company_page_collector.h"

#include "collect/child/child_collection.h"
#include "collect/company_pages/company_report_run.h"
#include "common/files/data_file.h"
#include "common/files/key_layout.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/tasks/task_files.h"
#include "common/text/web_text.h"
#include "marketdata/split_run_frame.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr long kRunReport = 111;
constexpr long kEndReport = 114;
constexpr const char* kRead = "1";
constexpr const char* kNotRead = "9";

void MarkCompany(marketdata::CdmRec& company, const char* flag) {
    company.Key.Flag2 = flag;
    company.Attr2 = flag;
}

}  // namespace

CompanyPageRun::CompanyPageRun(const CompanyPageKind& kind, common::EnvRec& env, common::MSGRec& msg,
                               common::TSDRec& task)
    : env(env), msg(msg), task(task), kind_(kind) {}

void CompanyPageRun::Run() {
    common::ProcedureIdGuard guard(kind_.id);
    const common::ProcessContext& context = common::State().context;
    OpenChildCollection(kind_.id, msg, kind_.preparingText);
    common::SortKeyRec keys;
    common::SetKeyLayout3(keys);
    if (kind_.usesIndustries) LoadIndustries();

    resultPath_ = common::BuildDataFilePath(context.resultFileNumber, task.ProcIdx, task.TaskSequence, "", ".tmp", env);
    listPath_ = marketdata::PartWorkFilePath(env, task.ProcIdx, task.TaskSequence);
    // Also after a failed run ("E"): the companies an earlier run of the part
    // finished are kept rather than collected again.
    RecoverCompanyPart(env, msg, context.resultFileNumber, task.ProcIdx, task.TaskSequence);

    marketdata::CdmTbl companies;
    // Nothing left to collect is a finished part, not one the parent waits for.
    std::string end = "Z";
    if (marketdata::CFCDM10M(marketdata::kCodeMasterFileNumber, task.ProcIdx, task.TaskSequence, "",
                             context.countryCode, kind_.categoryFilter, "1", env, keys, companies)) {
        common::SetTaskDetailStatus(kRunReport, "S", "B", env, task);
        common::State().TaskPhase = "01";
        end = CollectCompanies(companies);
        if (end == "Z") {
            msg.lngNumerator = 1;
            msg.lngDenominator = 1;
        }
    } else if (kind_.logNoCompany != nullptr) {
        kind_.logNoCompany();
    } else {
        common::WriteInfoLog(common::LogSwitch(1), kind_.id, common::log_tag::kWarning, "02",
                             "処理対象の企業が存在しません（アプリケーションエラーの可能性があります）　");
    }
    common::SetTaskDetailStatus(kEndReport, "S", end, env, task);
    CloseChildCollection(kind_.id);
}

void CompanyPageRun::LoadIndustries() {
    marketdata::IndustryLoadReq request;
    request.MarketFilter = common::State().context.countryCode;
    if (marketdata::LoadIndustryList(request, env, industries_)) return;
    common::WriteInfoLog(common::LogSwitch(1), kind_.id, common::log_tag::kWarning, "01",
                         "業種情報が存在しないので、市場コードは付与されません。　");
}

std::string CompanyPageRun::CollectCompanies(marketdata::CdmTbl& companies) {
    const long n = static_cast<long>(companies.size());
    for (long i = 1; i <= n; ++i) {
        marketdata::CdmRec& company = companies[static_cast<std::size_t>(i - 1)];
        marketdata::ShowCompanyProgress(msg, company, i, n);
        if (StopRequested()) return "S";
        std::string resultLine;
        if (kind_.collectCompany(*this, company, resultLine)) {
            MarkCompany(company, kRead);
            common::AppendLineToFile(resultPath_, resultLine);
        } else {
            MarkCompany(company, kNotRead);
        }
        // The list line is written last: a company without its line is
        // collected again when the part resumes.
        company.Key.Flag1 = "0";
        std::string line;
        marketdata::CdmRecToLine(company, line);
        common::AppendLineToFile(listPath_, line);
    }
    return "Z";
}

bool CompanyPageRun::StopRequested() { return common::TaskStopRequested(env, task); }

bool CompanyPageRun::Fetch(FetchRec& fetch, const std::string& url, const std::string& callerTag,
                           const marketdata::CdmRec& company) {
    fetch.Url = url;
    if (CWHTM12M(common::State().context.processName, callerTag, fetch, PageText(), PageLink(), false) > 0) {
        return true;
    }
    LogMissing("無し(2) ", company);
    return false;
}

void CompanyPageRun::LogMissing(const char* which, const marketdata::CdmRec& company) {
    common::WriteInfoLog(common::LogSwitch(1), kind_.id, common::log_tag::kWarning, "00",
                         common::State().context.processName + which + platform::TrimBlanks(company.Key.CorpCode) +
                             ":" + marketdata::CompanyName(company));
}

std::string CompanyUrl(const std::string& urlTemplate, const std::string& code) {
    std::string url = urlTemplate;
    common::ReplaceInPlace(url, "@Code@", code);
    return url;
}

}  // namespace collect
