#pragma once
#include <string>

#include "common/logs/progress.h"

namespace list_ui {

// The progress dialog of a list build ("FormProgress3"), shown with
// `caption` for as long as this lives; `msg` drives it.
class ListProgress {
public:
    explicit ListProgress(const std::string& caption);
    ~ListProgress();
    ListProgress(const ListProgress&) = delete;
    ListProgress& operator=(const ListProgress&) = delete;

    common::MSGRec msg;
};

}  // namespace list_ui
