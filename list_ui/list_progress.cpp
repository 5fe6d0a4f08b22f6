#include "list_ui/list_progress.h"

#include "common/screens/ui_seam.h"

namespace list_ui {

namespace {

constexpr const char* kForm = "FormProgress3";

}  // namespace

ListProgress::ListProgress(const std::string& caption) {
    msg.ProgressForm = &common::Ui().progress->Show(kForm);
    msg.DisplayOn = true;
    msg.Caption = caption;
    common::ShowProgress(msg);
}

ListProgress::~ListProgress() { common::Ui().progress->Unload(kForm); }

}  // namespace list_ui
