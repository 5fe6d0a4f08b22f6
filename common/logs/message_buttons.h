#pragma once
#include <string_view>
#include <vector>

namespace common {

// The buttons a style offers, in the order they are shown.
std::vector<int> ButtonsOfStyle(int style);

// The button that Enter presses (and that answers an unattended box).
int DefaultButtonOfStyle(int style);

// The result of closing the box without pressing a button: Cancel where the
// box has one, else its only button.
int EscapeButtonOfStyle(int style);

// "OK", "Cancel", "Yes", "No", ... and back; 0 for an unknown name.
std::string_view ButtonName(int button);
int ButtonFromName(std::string_view name);

}  // namespace common
