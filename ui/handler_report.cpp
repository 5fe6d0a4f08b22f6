#include "ui/handler_report.h"

#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/screens/ui_seam.h"
#include "platform/trapped_error.h"

namespace ui {

namespace {

// Whether the work ended on a trapped error, after reporting it.
bool Reported(const char* procedureId, const std::function<void()>& work, const char* abendLogName = nullptr) {
    constexpr const char* kVbError = "ＶＢエラーを検出しました。　";
    try {
        work();
        return false;
    } catch (const platform::TrappedError& error) {
        common::LogVbError(kVbError, 16, procedureId, error);
        common::ShowVbErrorMessage(kVbError, 16, error);
        if (abendLogName != nullptr) common::WriteAbendLine(abendLogName);
        return true;
    }
}

}  // namespace

void RunHandler(const char* procedureId, const std::function<void()>& work, const char* abendLogName) {
    Reported(procedureId, work, abendLogName);
}

void RunEndingHandler(const char* procedureId, const std::function<void()>& work) {
    if (Reported(procedureId, work)) common::EndProgram();
}

}  // namespace ui
