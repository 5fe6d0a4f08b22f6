#pragma once
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <vector>

namespace collect {

// A site that ignores the page position serves one page for ever: paging
// ends at a page that repeats the rows of the page before, or at the room
// of one collection, with one of these warnings.
inline constexpr std::size_t kPagedRowRoom = 50000;
inline constexpr const char* kRepeatedPageWarning = "同一ページの繰り返しのため、ページ送りを終了　";
inline constexpr const char* kRowRoomWarning = "収集件数が上限に達したため、ページ送りを終了　";

// True when the rows from `pageStart` on, those of the last page, equal as
// many rows just before them.
template <typename Row, typename Same>
bool RepeatsRowsBefore(const std::vector<Row>& rows, std::size_t pageStart, Same same) {
    const std::size_t count = rows.size() - pageStart;
    if (count == 0 || count > pageStart) return false;
    const auto page = rows.begin() + static_cast<std::ptrdiff_t>(pageStart);
    return std::equal(page - static_cast<std::ptrdiff_t>(count), page, page, same);
}

}  // namespace collect
