#include "marketdata/line_order.h"

#include <algorithm>
#include <numeric>

namespace marketdata {

std::vector<std::size_t> SortedLineOrder(const std::vector<std::string>& lines, const common::SortKeyRec& keys) {
    std::vector<std::size_t> order(lines.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (keys.KeyCount < 1) return order;
    const common::LineKeyMaker maker(keys, "SortedLineOrder");
    std::vector<std::string> lineKeys;
    lineKeys.reserve(lines.size());
    for (const std::string& line : lines) lineKeys.push_back(maker.KeyOf(line));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return lineKeys[a] < lineKeys[b]; });
    return order;
}

}  // namespace marketdata
