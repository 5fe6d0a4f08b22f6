#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace analysis {

// The judgement-conditions screen keeps rows of check boxes as digit masks:
// EnvKhn (20 basic-condition boxes), EnvHsk (50 rule boxes) and EnvLRS (5
// rule-family boxes). Box i (1-based) is character i; element i - 1 of the
// vectors below.
inline constexpr int kBasicBoxes = 20;
inline constexpr int kRuleBoxes = 50;
inline constexpr int kFamilyBoxes = 5;

// "1" for each ticked box, "0" for the others, joined.
std::string MaskFromBoxes(const std::vector<bool>& ticked);

// `count` boxes from `mask`: a box is ticked when its character is "1"; any
// other or a missing character leaves it clear, so a damaged mask never ticks
// a box it does not name.
std::vector<bool> BoxesFromMask(std::string_view mask, int count);

// The rule boxes that carry a rule, as the 1-based range [first, last] of the
// family box `family`: 1 ろさ 1-5, 2 ろく 11-13, 3 ろゑ 21-26, 4 ろあ 31-33.
// The reserve family 5 (and any other number) has none: first > last.
struct RuleRange {
    int first;
    int last;
};
RuleRange NamedRules(int family);

// The EnvHsk mask after the family box `family` was set to `ticked`: its
// named rules follow it, every other character stays.
std::string WithFamilyRules(std::string hsk, int family, bool ticked);

// The masks after the box for all rules was set to `ticked`: the family boxes
// 1-4 (not the reserve 5) and all their named rules follow it.
struct RuleMasks {
    std::string hsk;
    std::string lrs;
};
RuleMasks WithAllRules(RuleMasks masks, bool ticked);

}  // namespace analysis
