#pragma once
#include <span>
#include <string>
#include <string_view>

namespace analysis {

// The checks of the typed judgement conditions. Each returns the warning to
// show, or "" when the text passes. A number the judgement could not read
// back (beyond its fixed-point or 32-bit range) is refused like any other
// text that is no number, so a stored condition never stops a run.

// A number; unless `skipSignCheck`, one of 0 or more.
std::string NumericInputWarning(std::string_view text, bool skipSignCheck);

// A whole-number count of at least `minimum` (the warning names the minimum
// in full-width digits).
std::string NumericMinimumWarning(std::string_view text, int minimum);

enum class ConditionCheck {
    Signed,   // a number of 0 or more
    Any,      // any number
    Minimum,  // a count of at least `minimum`
};

// One text box of the judgement conditions and the setting under
// MirControl\Kesen that keeps it.
struct ConditionBox {
    const char* objectName;
    const char* setting;
    ConditionCheck check;
    int minimum;
};

// The twelve boxes in the order the screen checks them when it is left.
std::span<const ConditionBox> ConditionBoxes();

// The box's check of `text`; an empty text is checked as the 0 that the
// judgement reads for it.
std::string ConditionWarning(const ConditionBox& box, std::string_view text);

// Stores `text` as typed in the box's setting when it passes; a refused text
// leaves the last valid value stored. The warning, or "".
std::string StoreCondition(const ConditionBox& box, std::string_view text);

}  // namespace analysis
