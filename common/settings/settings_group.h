#pragma once

#include "common/files/env_rec.h"

namespace common {

// A copy of each group of the user's choices is kept in the DispData folder,
// one file per group ("DspSave" "No" + group "00" + ".dat"), so that they
// survive a re-initialised store. Groups:
//   1 Kesen, 2 KsnSum, 3 KsnMng, 4 HpGet, 5 KsnGrh,
//   6 Common (the program's MultiTask or MultiTaskKsn, ListMax), 7 Help.
// A line is the settings path with "\" turned into "_", "=", the value.

// Writes the group's file whole from the store, values trimmed. A group
// number outside 1..7 is an application error that ends the program.
void ExportSettingsGroup(int group, EnvRec& env);

// Writes the values of the group's file back into the store, in file order;
// false, and nothing written, when the file does not exist or is refused for
// its encoding (it may be CP932 or UTF-8: ReadHandEditedFile). Only keys the group
// exports are written: any other line (no "=", a malformed or foreign path,
// run state) is skipped with a warning in the error log. Everything after the
// first "=" is the value. Blank lines are skipped.
bool ImportSettingsGroup(int group, EnvRec& env);

// Exports the collection program's groups 4 and 6 with a fresh environment.
void ExportCollectorSettings();

}  // namespace common
