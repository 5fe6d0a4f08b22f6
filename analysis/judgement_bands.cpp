#include "analysis/judgement_bands.h"

#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/run_state.h"

namespace analysis {

namespace {

constexpr const char* kNoBands = "値幅表が存在しない為、鉤足判定または鉤足グラフの描画が出来ません。　";

}  // namespace

bool LoadJudgementBands(common::EnvRec& env, const std::string& ownId, const std::string& logCode,
                        std::vector<marketdata::PriceLimitRec>& bands) {
    if (marketdata::CFNHB10M(marketdata::kPriceBandFileNumber, "", env, bands) && !bands.empty()) return true;
    common::WriteErrorLog(common::State().errorLogOn, ownId, common::log_tag::kErrApl, logCode, kNoBands);
    common::ShowAppErrorMessage(kNoBands, 16);
    return false;
}

}  // namespace analysis
