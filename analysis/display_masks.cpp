#include "analysis/display_masks.h"

#include <cstddef>
#include <utility>

namespace analysis {

namespace {

constexpr int kNamedFamilies = 4;

// Sets character `box` (1-based), padding a short mask with "0" first so
// that the boxes before it keep their place.
void SetBox(std::string& mask, int box, bool ticked) {
    const auto at = static_cast<std::size_t>(box - 1);
    if (mask.size() <= at) mask.resize(at + 1, '0');
    mask[at] = ticked ? '1' : '0';
}

}  // namespace

std::string MaskFromBoxes(const std::vector<bool>& ticked) {
    std::string mask;
    for (const bool box : ticked) mask.push_back(box ? '1' : '0');
    return mask;
}

std::vector<bool> BoxesFromMask(std::string_view mask, int count) {
    std::vector<bool> boxes(static_cast<std::size_t>(count), false);
    for (std::size_t i = 0; i < boxes.size() && i < mask.size(); ++i) boxes[i] = mask[i] == '1';
    return boxes;
}

RuleRange NamedRules(int family) {
    switch (family) {
        case 1: return {1, 5};
        case 2: return {11, 13};
        case 3: return {21, 26};
        case 4: return {31, 33};
        default: return {1, 0};
    }
}

std::string WithFamilyRules(std::string hsk, int family, bool ticked) {
    const RuleRange rules = NamedRules(family);
    for (int box = rules.first; box <= rules.last; ++box) SetBox(hsk, box, ticked);
    return hsk;
}

RuleMasks WithAllRules(RuleMasks masks, bool ticked) {
    for (int family = 1; family <= kNamedFamilies; ++family) {
        SetBox(masks.lrs, family, ticked);
        masks.hsk = WithFamilyRules(std::move(masks.hsk), family, ticked);
    }
    return masks;
}

}  // namespace analysis
