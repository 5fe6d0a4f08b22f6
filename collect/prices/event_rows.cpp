#include "collect/prices/event_rows.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace collect {

namespace {

constexpr const char* kNoSplit = "1900/01/01";

bool PricesHold(const marketdata::PriceRec& row, char mark) {
    return std::any_of(row.Text.begin() + 1, row.Text.begin() + 5,
                       [mark](const std::string& text) { return text.find(mark) != std::string::npos; });
}

}  // namespace

bool SeparateEventRows(std::vector<marketdata::PriceRec>& rows, std::vector<marketdata::PriceRec>& events,
                       std::string& splitDate) {
    splitDate = kNoSplit;
    events.clear();
    // The rows kept close up in place: a stock's rows are thousands of large
    // records, and a second vector of them would be fresh memory each time.
    std::size_t kept = 0;
    for (marketdata::PriceRec& row : rows) {
        const bool isSplit = PricesHold(row, ':');
        if (!isSplit && !PricesHold(row, '$')) {
            if (&row != &rows[kept]) rows[kept] = std::move(row);
            ++kept;
            continue;
        }
        if (isSplit && splitDate == kNoSplit) splitDate = row.Text[0];
        events.push_back(std::move(row));
    }
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(kept), rows.end());
    return !events.empty();
}

}  // namespace collect
