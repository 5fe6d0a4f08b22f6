#pragma once

namespace collect {

// The company-list run of the current process context (process kind 4, one
// country): the country's industries to collect split into parts that child
// copies collect, their company lists gathered into the country's list, and
// every listed company entered into the industry source, the merged industry
// list and the code master, where the records already held keep their
// collected values. Each step is recorded as it starts, so an interrupted run
// resumes at its step. True when the run came to its end.
bool ALIST00M();

}  // namespace collect
