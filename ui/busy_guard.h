#pragma once

#include "common/run_state.h"
#include "common/screens/run_control.h"

namespace ui {

// Takes the busy flag for a handler's life and gives it back on every way
// out, exceptions included; a handler that did not get it does nothing.
class BusyGuard {
public:
    BusyGuard() : entered_(common::TryEnterBusy()) {}
    ~BusyGuard() {
        if (entered_) common::State().busy = false;
    }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

    bool entered() const { return entered_; }

private:
    bool entered_;
};

}  // namespace ui
