#include "collect/rates/exchange_rate_run.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "collect/child/collection_steps.h"
#include "collect/rates/current_rates.h"
#include "common/files/data_file.h"
#include "common/run_state.h"
#include "marketdata/split_run_builder.h"
#include "marketdata/split_run_frame.h"

namespace collect {

namespace {

constexpr long kCurrencyCount = 7;
constexpr long kStatusFiles[] = {111, 112, 113, 114};

// Step 01: the current rates (a failure is logged and does not stop the
// run), then the task of each currency. Parts of one currency each: the
// child dispatcher takes the currency from the task sequence.
bool CollectCurrentRates(marketdata::SplitRun& run) {
    AEXCG15M(run.env);
    for (const long fileNumber : kStatusFiles) common::CFFIL75M(fileNumber, run.processNumber, run.env);
    // A parallelism above the count gives parts of one item each.
    marketdata::WriteSplitRunTasks(run.processNumber, kCurrencyCount, kCurrencyCount + 1, run.env, run.msg,
                                   [](long, long, long) {});
    return true;
}

// Each child starts its currency afresh, so a part has nothing to recover.
void NothingToRecover(marketdata::SplitRun&, const marketdata::SplitRunPart&) {}

bool CollectHistories(marketdata::SplitRun& run) {
    return marketdata::RunPartsInChildren(run, NothingToRecover, run.processName + "の収集を中断します。　");
}

bool FinishRates(marketdata::SplitRun& run) {
    marketdata::GatherPartLogs(run);
    return marketdata::FinishSplitRun(run);
}

constexpr marketdata::SplitRunStep kSteps[] = {CollectCurrentRates, CollectHistories, FinishRates};

// Preparation (with the current rates), collection and post-processing.
void ShowRateSteps(common::MSGRec& msg, const std::string& step) {
    const std::string& name = common::State().context.processName;
    std::vector<std::string> lines = CollectionStepLines();
    lines.resize(std::size(kSteps));
    marketdata::ShowStepList(msg, name + " の収集", lines, std::atol(step.c_str()));
}

}  // namespace

bool AEXCG00M() { return marketdata::RunSplitRun("AEXCG00M", {kSteps, ShowRateSteps, nullptr}); }

}  // namespace collect
