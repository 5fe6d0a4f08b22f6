#pragma once
#include <string>

namespace ui {

// Installs the Qt implementations of the core's user-interface seam and sets
// the program title. When MIR_MSGBOX_SCRIPT names a file, message boxes are
// answered from it instead (see common/scripted_presenter.h); MIR_MSGBOX_LOG
// records the boxes shown either way.
void InstallQtUi(const std::string& programTitle);

}  // namespace ui
