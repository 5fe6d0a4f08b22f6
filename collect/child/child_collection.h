#pragma once
#include <string>

#include "common/logs/progress.h"

namespace collect {

// How every child collector opens: its start line, the page-tag table, the
// cancel flag cleared and the progress shown as preparing, with
// `preparingText` under the caption "<process name> の収集準備中".
void OpenChildCollection(const char* id, common::MSGRec& msg, const std::string& preparingText);

// How it closes: the fetch work cleared and its end line.
void CloseChildCollection(const char* id);

}  // namespace collect
