#pragma once
#include <cstdint>

namespace common {

// The number of parallel tasks, 1..10, from Common\MultiTask (Korvane:
// Common\MultiTaskKsn). A value that is not a number or below 1 is stored
// back as "1", one above 10 as "10", so every later reader agrees; a fraction
// inside the range rounds and stays as stored.
std::int32_t ReadMultiTaskCount();

}  // namespace common
