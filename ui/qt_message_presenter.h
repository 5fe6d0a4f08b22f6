#pragma once
#include "common/ui_seam.h"

namespace ui {

// Message boxes as QMessageBox, under the program's title.
class QtMessagePresenter : public common::MessagePresenter {
public:
    int Show(const std::string& text, int style, const std::string& caption) override;
};

}  // namespace ui
