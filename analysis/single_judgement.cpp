#include "analysis/single_judgement.h"

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/chart_line_file.h"
#include "analysis/judgement_bands.h"
#include "analysis/kagi_lines.h"
#include "analysis/kesen_params.h"
#include "common/files/file_registry.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/startup/run_env.h"
#include "marketdata/code_master.h"
#include "platform/trapped_error.h"

namespace analysis {

namespace {

constexpr const char* kOwnId = "ASKCM03M";
constexpr const char* kVbError = "ＶＢエラーを検出しました。　";

bool JudgeStock(const marketdata::Key& key, long priceCount, std::span<const marketdata::PriceRec> prices) {
    common::EnvRec env;
    common::CCENV00M(env);
    std::vector<marketdata::PriceLimitRec> bands;
    if (!LoadJudgementBands(env, kOwnId, "00", bands)) return false;

    KesenParamSet params;
    LoadKesenParams(params);
    marketdata::KeyToLine(key, common::State().selectedStockKey);
    marketdata::CdmRec company;
    marketdata::InitCdmRec(company, 0);
    company.Key = key;
    const std::size_t rows = std::min(prices.size(), static_cast<std::size_t>(std::max(priceCount, 0L)));
    std::vector<KagiDayRec> days;
    std::vector<KagiLineRec> lines;
    const std::vector<marketdata::PriceValues> values = marketdata::ValuesOf(prices.first(rows));
    if (!AKAGI41M(params, company, bands, days, lines, values)) return false;
    if (days.empty() || lines.empty()) return false;  // nothing would be written
    const std::string extension = common::CFFIL03M(marketdata::kChartLineFileNumber);
    CFKSN52M(env, key, marketdata::kChartLineFileNumber, marketdata::kChartLineTempSuffix, extension, DayRecords(days));
    CFKSN52M(env, key, marketdata::kChartLineFileNumber, "", extension, lines);
    return true;
}

}  // namespace

bool ASKCM03M(const marketdata::Key& key, long priceCount, std::span<const marketdata::PriceRec> prices) {
    common::RunState& state = common::State();
    state.procedureId.clear();
    common::FunctionIdGuard guard(kOwnId);
    common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kStart, "00",
                        std::string(kOwnId) + " Start : " + state.context.processName);
    bool written = false;
    try {
        written = JudgeStock(key, priceCount, prices);
    } catch (const platform::TrappedError& error) {
        common::LogVbError(kVbError, 16, kOwnId, error);
        common::ShowVbErrorMessage(kVbError, 16, error);
        common::WriteAbendLine(kOwnId);
        common::EndProgram();
    }
    common::WriteRunLog(common::LogSwitch(1), kOwnId, common::log_tag::kEnd, "00",
                        std::string(kOwnId) + " End   : " + state.context.processName);
    return written;
}

}  // namespace analysis
