#include "collect/prices/price_merge.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <tuple>
#include <utility>

namespace collect {

namespace {

constexpr std::size_t kDateLength = 10;

struct Item {
    std::string_view date;
    bool fromFirst;  // false sorts before true: the second input wins a shared date
    std::size_t index;

    auto Order() const { return std::tie(date, fromFirst, index); }
};

bool Holds(const std::vector<marketdata::PriceRec>& rows, std::span<const marketdata::PriceRec> input) {
    const std::less<const marketdata::PriceRec*> before;
    return !input.empty() && !before(input.data(), rows.data()) && before(input.data(), rows.data() + rows.size());
}

}  // namespace

void MergePriceRowsByDate(std::span<const marketdata::PriceRec> first, std::span<const marketdata::PriceRec> second,
                          std::vector<marketdata::PriceRec>& merged) {
    std::vector<Item> items;
    items.reserve(first.size() + second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        items.push_back({std::string_view(first[i].Text[0]).substr(0, kDateLength), true, i});
    }
    for (std::size_t j = 0; j < second.size(); ++j) {
        items.push_back({std::string_view(second[j].Text[0]).substr(0, kDateLength), false, j});
    }
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.Order() < b.Order(); });

    // The rows go straight into the room `merged` already has, unless it
    // holds an input: a caller merging stock after stock then touches no
    // fresh memory.
    std::vector<marketdata::PriceRec> apart;
    std::vector<marketdata::PriceRec>& result = Holds(merged, first) || Holds(merged, second) ? apart : merged;
    result.clear();
    result.reserve(items.size());
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (k > 0 && items[k].date == items[k - 1].date) continue;
        result.push_back(items[k].fromFirst ? first[items[k].index] : second[items[k].index]);
    }
    if (&result == &apart) merged = std::move(apart);
}

}  // namespace collect
