#pragma once

namespace collect {

// The exchange-rate run of the current process context (process kind 11):
// the current rates, then one task per currency (task sequence = country
// index 1..7) whose history child copies collect. Each step is recorded as
// it starts, so an interrupted or cancelled run resumes at its step. True
// when the run came to its end.
bool AEXCG00M();

}  // namespace collect
