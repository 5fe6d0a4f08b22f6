#pragma once

namespace common {

// First-run values of the settings tree. Both write every key unconditionally,
// overwriting what is there; a failing write of the store reaches the caller.

// Section Kesen: the chart-line judgement parameters.
void WriteKesenDefaults();

// Every other section, in the order Common, Counter, ComExcg, Task, HpGet,
// KsnGrh, KsnSum, KsnMng, Help.
void WriteAllDefaults();

}  // namespace common
