#include "collect/prices/price_history_part.h"

#include <vector>

#include "collect/child/child_collection.h"
#include "collect/prices/price_history_stock.h"
#include "common/files/key_layout.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/system_state_file.h"
#include "common/tasks/task_files.h"
#include "marketdata/code_master.h"
#include "marketdata/split_run_frame.h"
#include "platform/date.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

constexpr const char* kOwnId = "AHPJP30M";
constexpr long kRunReport = 111;
constexpr long kEndReport = 114;
constexpr long kPriceKind = 1;

std::string CandleCaption(const std::string& candle) {
    if (candle == "D") return "(日足)";
    if (candle == "W") return "(週足)";
    if (candle == "M") return "(月足)";
    return "";
}

// The series a company is collected into for the candle setting, the daily
// one last. A setting the settings screen has never written (blank) or that
// names no candle collects the daily series, which everything else reads.
std::vector<std::string> CandlesOf(const std::string& candle) {
    if (candle == "A") return {"W", "M", "D"};
    if (candle == "W" || candle == "M") return {candle};
    return {"D"};
}

void StampCollection(marketdata::CdmRec& company) {
    const platform::DateTime now = platform::Now();
    marketdata::ProcMarkRec& stamp = company.ProcMark[kPriceKind];
    stamp.MarkDate = platform::DateText(now.date);
    stamp.MarkTime = platform::TimeText(now.hour, now.minute, now.second);
    company.Key.Flag1 = "0";
}

// Collects the companies in order; the end letter of the part ("S" after a
// cancel, which has already been reported).
std::string CollectCompanies(long processKind, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task,
                             marketdata::CdmTbl& companies, const common::SystemStateRec& settings) {
    const std::string workPath = marketdata::PartWorkFilePath(env, task.ProcIdx, task.TaskSequence);
    const std::vector<std::string> candles = CandlesOf(platform::TrimBlanks(settings.Candle));
    const long n = static_cast<long>(companies.size());
    for (long i = 1; i <= n; ++i) {
        marketdata::CdmRec& company = companies[static_cast<std::size_t>(i - 1)];
        marketdata::ShowCompanyProgress(msg, company, i, n);
        for (const std::string& candle : candles) {
            if (!AHPJP41M(processKind, env, msg, company, settings, candle, task)) return "S";
        }
        // The line is written last: a company without its line is collected
        // again when the part resumes, which gives the same files.
        StampCollection(company);
        std::string line;
        marketdata::CdmRecToLine(company, line);
        common::AppendLineToFile(workPath, line);
    }
    return "Z";
}

void CollectPart(long processKind, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task) {
    const common::ProcessContext& context = common::State().context;
    // Also after a failed run ("E"): the companies an earlier run of the part
    // finished are kept rather than collected again.
    marketdata::RecoverPartList(env, msg, task.ProcIdx, task.TaskSequence);

    marketdata::CdmTbl companies;
    common::SortKeyRec keys;
    common::SetKeyLayout3(keys);
    const bool found = marketdata::CFCDM10M(marketdata::kCodeMasterFileNumber, task.ProcIdx, task.TaskSequence, "",
                                            context.countryCode, "", "1", env, keys, companies);
    std::string end = "Z";
    if (found) {
        common::SetTaskDetailStatus(kRunReport, "S", "B", env, task);
        common::State().TaskPhase = "01";
        common::SystemStateRec settings;
        common::ReadSystemStateFile(env, settings);
        msg.Caption = "株価時系列データの収集" + CandleCaption(platform::TrimBlanks(settings.Candle));
        end = CollectCompanies(processKind, env, msg, task, companies, settings);
        if (end == "S") return;
        msg.lngNumerator = 1;
        msg.lngDenominator = 1;
    } else {
        // Nothing left to collect is a finished part, not one the parent waits for.
        common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kWarning, "02",
                            "処理対象の企業が存在しません（アプリケーションエラーの可能性があります）　");
    }
    common::SetTaskDetailStatus(kEndReport, "S", end, env, task);
}

}  // namespace

bool AHPJP30M(long processKind, const std::string&, common::EnvRec& env, common::MSGRec& msg,
              common::TSDRec& task) {
    common::ProcedureIdGuard guard(kOwnId);
    OpenChildCollection(kOwnId, msg, common::State().context.processName + "の収集準備中");

    CollectPart(processKind, env, msg, task);

    CloseChildCollection(kOwnId);
    return true;
}

}  // namespace collect
