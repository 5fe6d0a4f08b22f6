#include "analysis/judgement_request.h"

#include "analysis/batch_runner.h"
#include "analysis/exclusive_run.h"
#include "common/settings/settings.h"
#include "common/startup/batch_request.h"

namespace analysis {

namespace {

constexpr int kSwitches = 5;

}  // namespace

std::string JudgementRequest(const KesenParamSet& params) {
    common::BatchRequestTable table;
    common::ClearBatchRequest(table);
    for (int item = 1; item <= kSwitches; ++item) table.cell(item, kJudgementGroup) = params.Kagi.at(item);
    return common::EncodeBatchRequest(table);
}

bool StartJudgement() {
    if (!CheckExclusiveRun()) return false;
    KesenParamSet params;
    LoadKesenParams(params);
    common::WriteSetting("MirControl\\Common\\Batch", JudgementRequest(params));
    RunBatch();
    return true;
}

}  // namespace analysis
