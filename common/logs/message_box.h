#pragma once
#include <string>

namespace platform {
class TrappedError;
}

namespace common {

// Every message either program shows goes through these, under the program's
// title. The asking routines return the pressed button (1 OK, 2 Cancel).
void ShowMessage(const std::string& text, int style);
void ShowWarning(const std::string& text, int style);
void ShowNotice(const std::string& text, int style);
int AskOkCancel(const std::string& text, int style);
int AskOkCancelCaution(const std::string& text, int style);

// Error boxes: the caller's text followed by the fixed apology and advice.
void ShowAppErrorMessage(const std::string& text, int style);
void ShowResetAdviceMessage(const std::string& text, int style);
void ShowVbErrorMessage(const std::string& text, int style, const platform::TrappedError& error);
void ShowUrlErrorMessage(const std::string& text, int style);

// The application-error road: error-log lines already written by the caller,
// then the critical box with `message`, then the program ends.
[[noreturn]] void EndWithAppError(const std::string& message);

}  // namespace common
