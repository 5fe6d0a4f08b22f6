#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "common/files/tab_line_sort.h"

namespace marketdata {

// The 0-based indices of `lines` in the order SortLinesByKeys would give them
// (file order when the layout has no key). Readers walk this order rather
// than sorting the lines, so that a line they refuse is still named by its
// line number in the file.
std::vector<std::size_t> SortedLineOrder(const std::vector<std::string>& lines, const common::SortKeyRec& keys);

}  // namespace marketdata
