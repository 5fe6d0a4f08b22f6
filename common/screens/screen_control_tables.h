#pragma once
#include <span>

#include "common/settings/control_setting.h"

namespace common {

// The controls of each form that keep a setting, in restore order.

// `frmGetBsc`, the collection settings.
std::span<const ControlSetting> CollectionSettingsControls();
// `frmGetHelp`, the markets of the analysis information.
std::span<const ControlSetting> OtherFunctionsControls();
// `frmGetEnv`: the program's own parallelism key and the list limit.
std::span<const ControlSetting> EnvironmentControls(bool isKorvane);

}  // namespace common
