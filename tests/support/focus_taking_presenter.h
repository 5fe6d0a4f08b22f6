#pragma once
// A message box takes the focus while it shows, as a modal box does: for the
// screen tests of checks that run when a box loses the focus.
#include <QWidget>
#include <string>

#include "tests/support/fake_ui.h"

namespace testsupport {

class FocusTakingPresenter : public RecordingPresenter {
public:
    explicit FocusTakingPresenter(QWidget& taker) : taker_(taker) {}
    int Show(const std::string& text, int style, const std::string& caption) override {
        taker_.setFocus();
        return RecordingPresenter::Show(text, style, caption);
    }

private:
    QWidget& taker_;
};

}  // namespace testsupport
