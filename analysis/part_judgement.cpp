#include "analysis/part_judgement.h"

#include <span>
#include <vector>

#include "analysis/chart_price_series.h"
#include "analysis/company_judgement.h"
#include "analysis/judge_records.h"
#include "analysis/judge_result_file.h"
#include "analysis/judgement_bands.h"
#include "analysis/kagi_lines.h"
#include "analysis/kesen_params.h"
#include "analysis/part_results.h"
#include "marketdata/split_run_frame.h"
#include "common/currency_scale.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/sub_menu.h"
#include "common/tasks/task_files.h"
#include "common/files/text_file_write.h"
#include "marketdata/code_master.h"
#include "platform/number_format.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace analysis {

namespace {

constexpr const char* kOwnId = "AKAGI32M";
constexpr long kRunReport = 111;
constexpr long kEndReport = 114;
constexpr std::size_t kIndustryName = 51;  // level-"0060" industry name

// What every company of the part is judged with.
struct PartRun {
    common::EnvRec& env;
    KesenParamSet params{};
    std::vector<marketdata::PriceLimitRec> bands{};
    // The chart settings that shape every company's series; the price scale
    // is each company's own.
    ChartSeriesOptions seriesOptions{};
    std::string resultPath{};
    std::string workPath{};
    // Reused from company to company, so their records are not allocated anew.
    std::vector<marketdata::PriceValues> daily{};
    std::vector<marketdata::PriceValues> chart{};
    std::vector<KagiDayRec> days{};
    std::vector<KagiLineRec> lines{};
};

void ShowJudgementProgress(common::MSGRec& msg, const marketdata::CdmRec& company, long i, long n) {
    msg.Caption = std::to_string(i * 100 / n) + "%　" + common::State().context.processName + " の収集中";
    msg.LabelText2 = "\r\n\r\n" + platform::TrimBlanks(company.Key.CorpCode) + ":" +
                     platform::TrimBlanks(company.InfoText[kIndustryName]) + "\r\n" + "処理済件数　" +
                     platform::FormatNumber(static_cast<double>(i), "###0") + " / " +
                     platform::FormatNumber(static_cast<double>(n), "###0") + "\r\n\r\n";
    msg.lngNumerator = i;
    common::ShowProgress(msg);
}


// The company's judgements; none when its series does not load. A series
// that cannot be read or judged is logged and gives none as well, so that
// the part goes on.
std::vector<KagiJudgeRec> JudgeCompany(PartRun& run, marketdata::CdmRec& company) {
    try {
        // Priced in the company's own currency, as its charts are.
        const std::string currency = common::StockCurrencyCode(company.RptText[6], company.Key.Market);
        run.seriesOptions.priceScale = common::CurrencyPriceScale(currency);
        if (!LoadJudgedPriceSeries(run.env, company, run.seriesOptions, run.daily, run.chart)) return {};
        AKAGI41M(run.params, company, run.bands, run.days, run.lines, run.chart);
        return MakeJudgeRecords(company.Key, run.lines, common::CurrencyPriceUnit(currency));
    } catch (const platform::TrappedError& error) {
        std::string identity;
        marketdata::CdmKeyString(company.Key, identity);
        common::WriteErrorLog(common::State().errorLogOn, kOwnId, common::log_tag::kWarning, "00",
                              "鉤足判定が出来ない為、企業を飛ばしました：" + identity + "　" + error.description());
        return {};
    }
}

// Judges the companies in order until a stop is requested; the end letter.
std::string JudgeCompanies(PartRun& run, common::MSGRec& msg, const common::TSDRec& task,
                           marketdata::CdmTbl& companies) {
    const long n = static_cast<long>(companies.size());
    for (long i = 1; i <= n; ++i) {
        marketdata::CdmRec& company = companies[static_cast<std::size_t>(i - 1)];
        ShowJudgementProgress(msg, company, i, n);
        if (common::TaskStopRequested(run.env, task)) return "S";

        ClearJudgementDate(company);
        const std::vector<KagiJudgeRec> recs = JudgeCompany(run, company);
        if (!recs.empty()) AppendJudgeRecords(run.resultPath, recs);
        StoreJudgements(recs, company);

        // The line is written last: a company without its line is judged
        // again, and its results dropped first, when the part resumes.
        company.Key.Flag1 = "0";
        std::string line;
        marketdata::CdmRecToLine(company, line);
        common::AppendLineToFile(run.workPath, line);
    }
    return "Z";
}

void JudgePart(common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    const std::string country = common::State().context.countryCode;
    PartRun run{env};
    if (!LoadJudgementBands(env, kOwnId, "01", run.bands)) {
        // The parent waits for a report of every part it started.
        common::ReportTaskFailed(task, env, 0);
        return;
    }
    LoadKesenParams(run.params);
    run.seriesOptions = ReadChartSeriesOptions("");
    run.workPath = marketdata::PartWorkFilePath(env, task.ProcIdx, task.TaskSequence);
    run.resultPath = PartResultPath(env, task.ProcIdx, task.TaskSequence, country);

    // Also after a failed run ("E"): deleting the part's files would lose the
    // results of the companies that an earlier resume already folded into
    // the part's list, which are never judged again.
    marketdata::CdmTbl companies = RecoverPartResults(env, msg, task.ProcIdx, task.TaskSequence, country);
    const bool found = !companies.empty();
    common::SetTaskDetailStatus(kRunReport, "S", "B", env, task);
    std::string end = "Z";
    if (found) {
        msg.lngDenominator = static_cast<long>(companies.size());
        end = JudgeCompanies(run, msg, task, companies);
    } else {
        // Nothing left to judge is a finished part, not one the parent waits for.
        common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kWarning, "02",
                            "処理対象の企業が存在しません（アプリケーションエラーの可能性があります）　");
    }
    common::SetTaskDetailStatus(kEndReport, "S", end, env, task);
}

}  // namespace

bool AKAGI32M(const std::string&, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    common::ProcedureIdGuard guard(kOwnId);
    common::State().CancelRequested = false;
    const std::string processName = common::State().context.processName;
    common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kStart, "00",
                        std::string(kOwnId) + " Start : " + processName);
    msg.LabelText2 = "鉤足判定の準備中\r\n";
    msg.lngDenominator = 1;
    msg.lngNumerator = 1;
    msg.DisplayOn = true;
    common::ShowProgress(msg);

    JudgePart(env, msg, task);

    common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kEnd, "00",
                        std::string(kOwnId) + " End   : " + processName);
    return true;
}

}  // namespace analysis
