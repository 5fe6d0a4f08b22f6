#pragma once
#include "common/files/master_merge.h"
#include "common/files/tab_line_sort.h"

namespace common {

// The fixed key layouts of the master and list files, as (column, length)
// pairs of the record line.

// Market (1, 3), category (10, 4), company code (55, 20): the code master and
// its part lists, the industry list, company profiles, every master merge.
void SetKeyLayout3(SortKeyRec& keys);
// Market, category, level-"0060" industry code (35, 4), company code.
void SetKeyLayout4(SortKeyRec& keys);
// Market, category, industry codes of levels "0040" (25, 4), "0050" (30, 4)
// and "0060" (35, 4), company code.
void SetKeyLayout6(SortKeyRec& keys);

// Copies the key count and keys 1..count into the key part of the merge
// record; a count above 20 raises error 9 and copies nothing.
void CopyKeyLayout(const SortKeyRec& from, MergeKeyRec& to);

}  // namespace common
