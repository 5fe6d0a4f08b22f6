#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace common {

// The steps of the batch chain that a run asks for: cell (item, group) is 1
// when that step is requested, else 0. Items 1..5 in groups 0..8 are used;
// item 0 never is.
struct BatchRequestTable {
    static constexpr int kItems = 6;
    static constexpr int kGroups = 9;

    std::array<std::int32_t, kItems * kGroups> cells{};

    std::int32_t& cell(int item, int group) { return cells.at(static_cast<std::size_t>(item + kItems * group)); }
    std::int32_t cell(int item, int group) const {
        return cells.at(static_cast<std::size_t>(item + kItems * group));
    }
};

// Sets every used cell to 0.
void ClearBatchRequest(BatchRequestTable& table);

// The 50-character text stored in Common\Batch: cell (item, group) is
// character 5 * group + item (1-based), the first digit of its value;
// characters 46..50 are always "0".
std::string EncodeBatchRequest(const BatchRequestTable& table);

// Reads each used cell back from its character of `text`. A character that is
// missing (short text) or not a digit reads as 0, so a damaged value never
// requests a step by accident.
void DecodeBatchRequest(BatchRequestTable& table, std::string_view text);

}  // namespace common
