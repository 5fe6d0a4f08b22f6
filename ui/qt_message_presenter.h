#pragma once
#include <QMessageBox>
#include <filesystem>

#include "common/screens/ui_seam.h"

namespace ui {

// Message boxes as QMessageBox, under the program's title. Each box shown is
// also written to `log` when one is named (as the scripted presenter does).
class QtMessagePresenter : public common::MessagePresenter {
public:
    explicit QtMessagePresenter(std::filesystem::path log = {}) : log_(std::move(log)) {}

    int Show(const std::string& text, int style, const std::string& caption) override;

private:
    std::filesystem::path log_;
};

// The box's button of a result (common::msg_result); OK for an unknown one.
QMessageBox::StandardButton QtButton(int button);

}  // namespace ui
