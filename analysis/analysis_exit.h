#pragma once

namespace analysis {

// What the analysis program keeps when the user ends it: the settings
// groups that its start imports again (1 Kesen, 2 KsnSum, 3 KsnMng, 5 KsnGrh,
// 6 Common, 7 Help) in their files, and a current system state file. The
// analysis tables are released.
void SaveAnalysisSettingsAtExit();

}  // namespace analysis
