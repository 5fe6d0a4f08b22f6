#include "collect/prices/price_history_dates.h"

#include <string>
#include <vector>

#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/startup/run_env.h"
#include "marketdata/code_master.h"
#include "marketdata/price_series.h"
#include "marketdata/split_run_frame.h"

namespace collect {

namespace {

constexpr const char* kOwnId = "AHPJP50M";
constexpr const char* kForm = "FormProgress1";
constexpr long kSeriesFile = 1014;
constexpr long kPriceKind = 1;

void SetDatesFromSeries(common::EnvRec& env, marketdata::CdmRec& rec) {
    std::vector<marketdata::PriceRec> rows;
    marketdata::TermRec& term = rec.Term[kPriceKind];
    if (marketdata::LoadPriceSeries(kSeriesFile, env, rec.Key, "D", "", ".txt", rows)) {
        rec.ProcMark[kPriceKind].MarkFlag = "1";
        term.FirstDate = rows.front().Text[0].substr(0, 10);
        term.LastDate = rows.back().Text[0].substr(0, 10);
    } else {
        rec.ProcMark[kPriceKind].MarkFlag = "9";
        term.FirstDate.clear();
        term.LastDate.clear();
    }
}

}  // namespace

void AHPJP50M() {
    common::ProcedureIdGuard guard(kOwnId);
    const std::string processName = common::State().context.processName;
    common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kStart, "00",
                        std::string(kOwnId) + " Start : " + processName);
    common::State().CancelRequested = false;
    common::EnvRec env;
    common::CCENV00M(env);
    common::MSGRec msg;
    msg.ProgressForm = &common::Ui().progress->Show(kForm);
    msg.DisplayOn = true;
    msg.Caption = "株価時系列の日付設定";
    msg.LabelText2 = "\r\n\r\n企業一覧（国内）の収集準備中";
    common::ShowProgress(msg);

    marketdata::CdmTbl companies;
    if (!marketdata::CFCDM11M(msg, marketdata::kCodeMasterFileNumber, 0, 0, "", "", "", "", env, {}, companies)) {
        common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kWarning, "02",
                            "処理対象の企業が存在しません（アプリケーションエラーの可能性があります）　");
    } else {
        const long n = static_cast<long>(companies.size());
        for (long i = 1; i <= n; ++i) {
            marketdata::CdmRec& rec = companies[static_cast<std::size_t>(i - 1)];
            marketdata::ShowCompanyProgress(msg, rec, i, n);
            SetDatesFromSeries(env, rec);
        }
        marketdata::WriteCodeMaster(marketdata::kCodeMasterFileNumber, 0, 0, "", ".tmp", n, env, companies);
        marketdata::RefreshCodeMaster(marketdata::kCodeMasterFileNumber, 0, 0, "", env, msg);
    }
    common::Ui().progress->Unload(kForm);
    common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kEnd, "00",
                        std::string(kOwnId) + " End   : " + processName);
}

}  // namespace collect
