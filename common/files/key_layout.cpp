#include "common/files/key_layout.h"

#include <initializer_list>
#include <utility>

namespace common {

namespace {

void SetLayout(SortKeyRec& keys, std::initializer_list<std::pair<long, long>> fields) {
    keys = SortKeyRec{};
    for (const auto& [start, length] : fields) {
        const auto j = static_cast<std::size_t>(++keys.KeyCount);
        keys.KeyStart[j] = start;
        keys.KeyLength[j] = length;
    }
}

}  // namespace

void SetKeyLayout3(SortKeyRec& keys) { SetLayout(keys, {{1, 3}, {10, 4}, {55, 20}}); }

void SetKeyLayout4(SortKeyRec& keys) { SetLayout(keys, {{1, 3}, {10, 4}, {35, 4}, {55, 20}}); }

void SetKeyLayout6(SortKeyRec& keys) { SetLayout(keys, {{1, 3}, {10, 4}, {25, 4}, {30, 4}, {35, 4}, {55, 20}}); }

void CopyKeyLayout(const SortKeyRec& from, MergeKeyRec& to) {
    CheckKeyCount(from.KeyCount, "CopyKeyLayout");
    to.KeyCount = from.KeyCount;
    for (long j = 1; j <= from.KeyCount; ++j) {
        const auto i = static_cast<std::size_t>(j);
        to.KeyStart[i] = from.KeyStart[i];
        to.KeyLength[i] = from.KeyLength[i];
    }
}

}  // namespace common
