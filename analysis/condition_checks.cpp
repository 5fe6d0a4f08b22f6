#include "analysis/condition_checks.h"

#include <optional>

#include "common/settings/settings.h"
#include "platform/currency.h"
#include "platform/integer_round.h"
#include "platform/numeric_text.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace analysis {

namespace {

constexpr const char* kEnterNumber = "数値を入力してください。　";
constexpr const char* kAtLeast = "以上の数値を入力してください。　";

constexpr ConditionBox kBoxes[] = {
    {"EnvAnadpt", "EnvAnadpt", ConditionCheck::Any, 0},     {"EnvAnaMax", "EnvAnaMax", ConditionCheck::Minimum, 2},
    {"EnvAnaMin", "EnvAnaMin", ConditionCheck::Minimum, 0}, {"EnvHnnD", "EnvHnnD", ConditionCheck::Signed, 0},
    {"EnvHnnN", "EnvHnnN", ConditionCheck::Signed, 0},      {"EnvIkoD", "EnvIkoD", ConditionCheck::Signed, 0},
    {"EnvIkoN", "EnvIkoN", ConditionCheck::Signed, 0},      {"EnvIkoRng", "EnvIkoRng", ConditionCheck::Minimum, 0},
    {"EnvKagiRng", "EnvRange", ConditionCheck::Minimum, 2}, {"EnvRoeD", "EnvRoeD", ConditionCheck::Signed, 0},
    {"EnvRoeN", "EnvRoeN", ConditionCheck::Signed, 0},      {"EnvTdai", "EnvTdai", ConditionCheck::Signed, 0},
};

// The amount as the judgement reads it, nullopt when it cannot.
std::optional<platform::Currency> AmountOf(std::string_view text) {
    try {
        return platform::ParseCurrency(platform::TrimBlanks(text));
    } catch (const platform::TrappedError&) {
        return std::nullopt;
    }
}

// Whether the judgement can read the count (rounded to a 32-bit Long).
bool FitsCount(double value) {
    try {
        platform::ToLong(value);
        return true;
    } catch (const platform::TrappedError&) {
        return false;
    }
}

// "0" to "9" and "-" as their full-width forms.
std::string FullWidth(const std::string& number) {
    std::string wide;
    for (const char c : number) {
        const char32_t code = c == '-' ? U'－' : U'０' + static_cast<char32_t>(c - '0');
        platform::AppendUtf8(wide, code);
    }
    return wide;
}

}  // namespace

std::string NumericInputWarning(std::string_view text, bool skipSignCheck) {
    const std::optional<platform::Currency> amount = AmountOf(text);
    if (!amount) return kEnterNumber;
    if (!skipSignCheck && *amount < platform::Currency()) return std::string("０") + kAtLeast;
    return "";
}

std::string NumericMinimumWarning(std::string_view text, int minimum) {
    const std::optional<double> value = platform::ParseDouble(platform::TrimBlanks(text));
    if (!value) return kEnterNumber;
    if (*value < minimum) return FullWidth(std::to_string(minimum)) + kAtLeast;
    return FitsCount(*value) ? "" : kEnterNumber;
}

std::span<const ConditionBox> ConditionBoxes() { return kBoxes; }

std::string ConditionWarning(const ConditionBox& box, std::string_view typed) {
    // An empty box is what the defaults leave in two of them; the judgement
    // reads it as 0, so it is checked as 0 and the untouched screen can be left.
    const std::string_view text = platform::TrimBlanks(typed).empty() ? std::string_view("0") : typed;
    switch (box.check) {
        case ConditionCheck::Signed: return NumericInputWarning(text, false);
        case ConditionCheck::Any: return NumericInputWarning(text, true);
        case ConditionCheck::Minimum: return NumericMinimumWarning(text, box.minimum);
    }
    return kEnterNumber;
}

std::string StoreCondition(const ConditionBox& box, std::string_view text) {
    std::string warning = ConditionWarning(box, text);
    if (warning.empty()) common::WriteSetting(std::string("MirControl\\Kesen\\") + box.setting, text);
    return warning;
}

}  // namespace analysis
