#include "charts/kagi_label.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "charts/chart_layout.h"
#include "charts/colour_palette.h"
#include "charts/price_to_y.h"
#include "platform/integer_round.h"
#include "platform/number_format.h"
#include "platform/utf8_text.h"

namespace charts {

namespace {

constexpr const char* kItemMark = "・";

struct LabelItem {
    std::int32_t bit;
    std::size_t switchIndex;
    const char* name;
};

// The features in label order; their switches are characters 1-12 of EnvKhn.
constexpr std::array<LabelItem, 12> kFeatures{{{8192, 1, "はらみ"},
                                               {4096, 2, "つつみ"},
                                               {2048, 3, "空間"},
                                               {1024, 4, "半値引き"},
                                               {512, 5, "行来い"},
                                               {256, 6, "長線"},
                                               {128, 7, "特長線"},
                                               {64, 8, "穴"},
                                               {32, 9, "上上げ新"},
                                               {16, 10, "上下げ新"},
                                               {8, 11, "下上げ新"},
                                               {4, 12, "下下げ新"}}};
constexpr std::int32_t kHoleBit = 64;

struct RuleGroup {
    std::size_t word;         // in KagiLineRec::RuleBits
    std::size_t firstSwitch;  // in EnvHsk
    std::size_t ruleCount;
    const char* name;
};

constexpr std::array<RuleGroup, 4> kRuleGroups{{{analysis::kRuleBitsRosa, 1, 5, "ろさ"},
                                                {analysis::kRuleBitsRoku, 11, 3, "ろく"},
                                                {analysis::kRuleBitsRoe, 21, 6, "ろゑ"},
                                                {analysis::kRuleBitsRoa, 31, 3, "ろあ"}}};
constexpr std::array<const char*, 6> kRuleNumbers{"一", "二", "三", "四", "五", "六"};
constexpr std::int32_t kFirstRuleBit = 512;

bool Shown(std::int32_t bits, std::int32_t bit, std::int32_t displaySwitch) {
    return (bits & bit) != 0 && displaySwitch == 1;
}

bool RuleShown(const analysis::KesenParamSet& params, const analysis::KagiLineRec& line, const RuleGroup& group,
               std::size_t rule) {
    return Shown(line.RuleBits[group.word], kFirstRuleBit >> rule, params.Hsk[group.firstSwitch + rule]);
}

}  // namespace

std::string KagiFeatureText(const analysis::KesenParamSet& params, const analysis::KagiLineRec& line) {
    std::string text;
    for (const LabelItem& feature : kFeatures) {
        if (!Shown(line.Features, feature.bit, params.Khn[feature.switchIndex])) continue;
        text += std::string(kItemMark) + feature.name;
        if (feature.bit == kHoleBit) text += platform::FormatNumber(static_cast<double>(line.HoleLines), "0");
    }
    return text;
}

std::string KagiRuleText(const analysis::KesenParamSet& params, const analysis::KagiLineRec& line) {
    std::string text;
    for (const RuleGroup& group : kRuleGroups) {
        for (std::size_t rule = 0; rule < group.ruleCount; ++rule) {
            if (RuleShown(params, line, group, rule)) text += std::string(kItemMark) + group.name + kRuleNumbers[rule];
        }
    }
    return text;
}

std::string KagiRuleGroupText(const analysis::KesenParamSet& params, const analysis::KagiLineRec& line) {
    std::string text;
    for (const RuleGroup& group : kRuleGroups) {
        for (std::size_t rule = 0; rule < group.ruleCount; ++rule) {
            if (!RuleShown(params, line, group, rule)) continue;
            text += std::string(kItemMark) + group.name;
            break;
        }
    }
    return text;
}

int KagiLabelFontSize(double pitch) { return std::max(platform::ToLong((pitch + 2) / 2), 6); }

void DrawKagiLabel(double low, double high, double range, double barX, const ChartContext& ctx, DrawingList& surface,
                   const std::string& direction, const std::string& label) {
    const double lowY = PriceToY(low, range, ctx.price.height, ctx.price.top);
    const double highY = PriceToY(high, range, ctx.price.height, ctx.price.top);
    const double left = BodyLeft(ctx, barX);
    const double right = BodyRight(ctx, barX);
    const int fontSize = KagiLabelFontSize(ctx.pitch);
    const double rowStep = fontSize + 2;
    const std::string text = platform::MidChars(label, 2);
    const double x = left + platform::ToLong((right - left) / 2) - 3;

    const bool down = direction == "2";
    const Rgb colour = GetColourPair(down ? kColourBlue : kColourRed).strong;
    double y = down ? highY - static_cast<double>(platform::CharCount(text) + 1) * rowStep - 10 : lowY;
    std::size_t pos = 0;
    char32_t cp = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        platform::NextCodePoint(text, pos, cp);
        y += rowStep;
        surface.Text(x, y, text.substr(start, pos - start), colour, fontSize);
    }
}

}  // namespace charts
