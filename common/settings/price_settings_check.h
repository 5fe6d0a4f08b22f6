#pragma once
#include <string>

#include "common/screens/collection_screen_state.h"
#include "common/settings/system_state_file.h"
#include "platform/date.h"

namespace common {

// Which input a refused price check points the user at.
enum class PriceCheckField { None, DateFrom, DateTo, BothDates, PeriodOption };

struct PriceCheckResult {
    bool passed = false;
    std::string warning;  // shown with the exclamation icon when refused
    PriceCheckField field = PriceCheckField::None;
    // On a pass with the period choice: the dates as the boxes should show
    // them again, "yyyy/mm/dd".
    std::string dateFrom;
    std::string dateTo;
};

// Checks the price-history choices of the screen and, when they pass, puts
// the converted values into `rec`: method letter, country flags, candle
// letter, period mode with its From and To dates, backup flag. `today` gives
// the dates of the periods that end today.
PriceCheckResult CheckPriceSettings(const CollectionScreenState& screen, const platform::Date& today,
                                    SystemStateRec& rec);

}  // namespace common
