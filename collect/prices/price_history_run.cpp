#include "collect/prices/price_history_run.h"

#include <cstdlib>

#include "collect/child/collection_steps.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "marketdata/split_run_frame.h"

namespace collect {

namespace {

void RecoverPart(marketdata::SplitRun& run, const marketdata::SplitRunPart& part) {
    // A failed part ("E") too: its work file holds companies that are done,
    // and an earlier resume may already have folded others into its list.
    marketdata::RecoverPartList(run.env, run.msg, part.procIdx, part.sequence);
}

bool CollectParts(marketdata::SplitRun& run) {
    return marketdata::RunPartsInChildren(run, RecoverPart, run.processName + "の収集を中断します。　", true);
}

bool UpdateCodeMaster(marketdata::SplitRun& run) {
    return marketdata::ApplyPartLists(run) && marketdata::FinishSplitRun(run);
}

constexpr marketdata::SplitRunStep kSteps[] = {
    marketdata::SplitCompaniesIntoParts,
    CollectParts,
    marketdata::GatherPartLists,
    UpdateCodeMaster,
};

// The two event flags tell, after a run, whether such an event occurred in
// it; a resumed run keeps what its earlier legs found.
void ResetEventFlags() {
    common::WriteSetting("MirControl\\HpGet\\HpDupSts", "0");
    common::WriteSetting("MirControl\\HpGet\\HpSplit", "0");
}

}  // namespace

void ShowPriceCollectionSteps(common::MSGRec& msg, const std::string& step) {
    const std::string& name = common::State().context.processName;
    marketdata::ShowStepList(msg, name + "を収集中", CollectionStepLines(), std::atol(step.c_str()));
}

bool AHPJP00M() { return marketdata::RunSplitRun("AHPJP00M", {kSteps, ShowPriceCollectionSteps, ResetEventFlags}); }

}  // namespace collect
