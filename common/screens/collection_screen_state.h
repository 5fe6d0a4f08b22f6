#pragma once
#include <array>
#include <string>

#include "common/settings/system_state_file.h"

namespace common {

// What the collection settings screen shows, as plain values: check boxes 1
// or 0, option choices 1-based with 0 for none, texts as typed.
struct CollectionScreenState {
    int exchange = 0;                // CKBox0100(1)
    std::array<int, 3> lists{};      // CKBox0101(1..3)
    std::array<int, 3> profiles{};   // CKBox0102(1..3)
    std::array<int, 3> reports{};    // CKBox0103(1..3)
    int industries = 0;              // CKBox0104(1)
    int method = 0;                  // OBtn0201
    int candle = 0;                  // OBtn0202
    int period = 0;                  // OBtn0203
    std::string dateFrom;            // DateFrom02
    std::string dateTo;              // DateTo02
    std::array<int, 3> countries{};  // CKBox0201(1..3)
    int backup = 0;                  // CKBox0204
    std::string multiCount;          // the environment screen's MultiCount
};

// Copies the screen's values into the record's collection block: check boxes
// by request group, option indexes (-1 for none), the typed dates and the
// parallelism as typed.
void CopyScreenState(const CollectionScreenState& screen, SystemStateRec& rec);

}  // namespace common
