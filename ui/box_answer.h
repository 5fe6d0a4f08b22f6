#pragma once
#include <string>

namespace ui {

// Answers a real message box as its user would, for the test seams of the
// programs. Once the next box opens, its button `button` ("OK", "Cancel",
// "Yes", "No") is pressed. With `opener` ("<form>/<control>"), that button
// is clicked first, the next time it shows (a run's "中　断", say), and the
// box it opens is the one answered. Answers wait in the order they were
// made. False, and nothing waits, when `button` names no button.
bool AnswerNextBox(const std::string& button, const std::string& opener = "");

}  // namespace ui
