#pragma once

namespace analysis {

// Whether a run of the analysis program may start now: refused while a run of
// either program is marked; an interrupted judgement is offered for resume,
// an interrupted collection is named. See common::CheckExclusiveStart.
bool CheckExclusiveRun();

}  // namespace analysis
