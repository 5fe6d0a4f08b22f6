#pragma once

#include "common/settings/system_state_file.h"
#include "common/startup/batch_request.h"

namespace common {

// The run buttons of the collection settings screen.
enum class RunButton {
    Exchange,         // BasicCommand0: exchange rates
    CompanyLists,     // BasicCommand1: company lists
    Profiles,         // BasicCommand2: company profiles
    Reports,          // BasicCommand3: market reports
    Industries,       // BasicCommand4: research-provider industries
    AllBasic,         // BasicCommand5: all basic information
    PriceHistories,   // Btn0201: price histories
    Everything,       // BasicCommand6: everything
};

// Whether the button's run checks the price-history choices first.
bool NeedsPriceCheck(RunButton button);

// The request of the button from the record that the screen just wrote:
// basic groups from its check boxes, the price-history group from its method
// letter and country flags, group 6 from its seventh group.
BatchRequestTable BuildRunRequest(RunButton button, const SystemStateRec& rec);

}  // namespace common
