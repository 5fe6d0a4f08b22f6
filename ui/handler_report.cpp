#include "ui/handler_report.h"

#include "common/logs.h"
#include "common/message_box.h"
#include "platform/trapped_error.h"

namespace ui {

void RunHandler(const char* procedureId, const std::function<void()>& work) {
    constexpr const char* kVbError = "ＶＢエラーを検出しました。　";
    try {
        work();
    } catch (const platform::TrappedError& error) {
        common::LogVbError(kVbError, 16, procedureId, error);
        common::ShowVbErrorMessage(kVbError, 16, error);
    }
}

}  // namespace ui
