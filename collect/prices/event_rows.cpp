#include "collect/prices/event_rows.h"

#include <utility>

namespace collect {

namespace {

constexpr const char* kNoSplit = "1900/01/01";

}  // namespace

bool SeparateEventRows(std::vector<marketdata::PriceRec>& rows, std::vector<marketdata::PriceRec>& events,
                       std::string& splitDate) {
    splitDate = kNoSplit;
    std::vector<marketdata::PriceRec> kept;
    std::vector<marketdata::PriceRec> moved;
    for (marketdata::PriceRec& row : rows) {
        const std::string prices = row.Text[1] + row.Text[2] + row.Text[3] + row.Text[4];
        const bool isSplit = prices.find(':') != std::string::npos;
        if (!isSplit && prices.find('$') == std::string::npos) {
            kept.push_back(std::move(row));
            continue;
        }
        if (isSplit && splitDate == kNoSplit) splitDate = row.Text[0];
        moved.push_back(std::move(row));
    }
    rows = std::move(kept);
    events = std::move(moved);
    return !events.empty();
}

}  // namespace collect
