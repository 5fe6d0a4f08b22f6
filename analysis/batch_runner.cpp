#include "analysis/batch_runner.h"

#include <cstdint>
#include <string>

#include "analysis/judgement_process.h"
#include "analysis/judgement_run.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/batch_chain.h"
#include "common/startup/batch_request.h"
#include "common/startup/process_context.h"

namespace analysis {

namespace {

// The judgement requests of Common\Batch: items 1 to 3 of group 6, for
// Japan, the United States and China.
struct RequestItem {
    int item;
    long countryIndex;
};
constexpr RequestItem kItems[] = {{1, 1}, {2, 3}, {3, 2}};

}  // namespace

void RunBatch() {
    common::RunMarkedBatch("2", [](std::string& stepId) {
        common::RunState& state = common::State();
        common::BatchRequestTable table;
        common::DecodeBatchRequest(table, common::ReadSetting("MirControl\\Common\\Batch"));
        for (const RequestItem& request : kItems) {
            if (state.CancelRequested) break;
            std::int32_t& cell = table.cell(request.item, kJudgementGroup);
            if (cell != 1) continue;
            stepId = "AKAGI00M";
            state.procedureId = stepId;
            common::SetProcessContext(kJudgementProcess, request.countryIndex);
            const bool completed = AKAGI00M();
            if (state.CancelRequested) break;
            // A run that stopped early stays requested, to be resumed where it stopped.
            if (!completed) continue;
            cell = 0;
            common::SaveBatchState(table);
        }
    });
}

}  // namespace analysis
