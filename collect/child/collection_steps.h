#pragma once
#include <string>
#include <vector>

namespace collect {

// The first four lines of a collection run's step list, named after the
// current process: preparation, collection, post-processing and the update
// of the code master.
std::vector<std::string> CollectionStepLines();

}  // namespace collect
