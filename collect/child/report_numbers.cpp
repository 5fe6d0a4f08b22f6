#include "collect/child/report_numbers.h"

#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/text/text_compare.h"
#include "common/text/web_text.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace collect {

namespace {

using platform::Currency;

constexpr std::string_view kUnitOpen = "（";

// The second item of the text split at "（" (up to a further "（"); nullopt
// when there is none.
std::optional<std::string> SecondUnitItem(std::string_view text) {
    const std::size_t open = text.find(kUnitOpen);
    if (open == std::string_view::npos) return std::nullopt;
    std::string_view item = text.substr(open + kUnitOpen.size());
    item = item.substr(0, item.find(kUnitOpen));
    return std::string(item);
}

bool SameText(std::string_view a, std::string_view b) {
    return common::NormalizeForCompare(a) == common::NormalizeForCompare(b);
}

}  // namespace

void LogBeyondRange(std::string_view what, std::string_view source) {
    const common::RunState& state = common::State();
    common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                          "数値が範囲を超えたため0としました。　" + std::string(what) + "　" + std::string(source));
}

std::string WithinRangeOrZero(std::string_view what, std::string_view text) {
    const bool beyond = platform::IsNumericText(text) &&
                        !WithinCurrencyRange(what, text, [&] { return *platform::ParseCurrency(text); });
    return beyond ? "0" : std::string(text);
}

void ZeroNumbersBeyondRange(marketdata::RpiRec& rpi) {
    for (std::size_t n = 1; n < rpi.Text.size(); ++n) {
        std::string& text = rpi.Text[n];
        if (platform::IsNumericText(text)) text = WithinRangeOrZero("項目" + std::to_string(n), text);
    }
}

std::string UnitMultiplier(std::string_view unit) {
    const std::string trimmed = platform::TrimBlanks(unit);
    if (trimmed.empty()) return "1";
    if (SameText(trimmed, "K")) return "1000";
    if (SameText(trimmed, "M")) return "1000000";
    if (SameText(trimmed, "B")) return "1000000000";
    if (trimmed.find("百万") != std::string::npos) return "1000000";
    // The Chinese pages also write volumes in 万 and 億.
    if (trimmed.find("億") != std::string::npos) return "100000000";
    if (trimmed.find("万") != std::string::npos) return "10000";
    if (trimmed.find("セント") != std::string::npos) return "0.01";
    if (platform::IsNumericText(trimmed)) return common::NumberTextOrZero(trimmed);
    return "1";
}

std::string ScaleByUnit(std::string_view value, std::string_view unit) {
    if (!platform::IsNumericText(value)) return "0";
    const std::optional<Currency> scaled = WithinCurrencyRange(
        "ScaleByUnit", std::string(value) + " " + std::string(unit),
        [&] { return *platform::ParseCurrency(value) * *platform::ParseCurrency(UnitMultiplier(unit)); });
    return scaled ? scaled->ToText() : "0";
}

void SplitTrailingUnit(std::string_view text, std::string& number, std::string& unit) {
    const std::size_t length = platform::CharCount(text);
    if (platform::IsNumericText(text) || length < 2) {
        number = std::string(text);
        unit = "1";
        return;
    }
    std::string last = platform::RightChars(text, 1);
    number = platform::LeftChars(text, length - 1);
    unit = std::move(last);
}

void SplitNumberAndRest(std::string_view text, std::string& number, std::string& rest) {
    const std::size_t last = text.find_last_of("0123456789-");
    const std::string_view head = last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
    std::string tail = platform::TrimBlanks(last == std::string_view::npos ? text : text.substr(last + 1));
    number = common::NumberTextOrZero(head);
    rest = std::move(tail);
}

std::string TextAfterUntil(std::string_view text, std::string_view startMarker, std::string_view endMarker) {
    const std::size_t start = text.find(startMarker);
    if (start == std::string_view::npos) return "";
    const std::string_view rest = text.substr(start + startMarker.size());
    if (endMarker.empty()) return std::string(rest);
    const std::size_t end = rest.find(endMarker);
    return end == std::string_view::npos ? "" : std::string(rest.substr(0, end));
}

std::string ValueAfterMarker(std::string_view text, std::string_view marker) {
    const std::size_t at = text.find(marker);
    if (at == std::string_view::npos) return "";
    const std::string_view rest = text.substr(at + marker.size());
    return std::string(rest.substr(0, rest.find(' ')));
}

std::string UnitText(std::string_view labelText) {
    const std::optional<std::string> item = SecondUnitItem(labelText);
    return item ? common::CleanField(true, *item, "", "", "") : "";
}

void CurrencyFromUnitText(std::string_view labelText, std::string& multiplier, std::string& currency) {
    static constexpr std::pair<const char*, const char*> kCurrencies[] = {
        {"元", "CNY"}, {"香港ドル", "HKD"}, {"米ドル", "USD"}, {"台湾ドル", "TWD"}, {"英ポンド", "GBP"}, {"円", "JPY"},
    };
    const std::string item = SecondUnitItem(labelText).value_or("");
    multiplier = item.find("百万") != std::string::npos ? "1000000" : "1";
    for (const auto& [name, code] : kCurrencies) {
        if (item.find(name) != std::string::npos) {
            currency = code;
            return;
        }
    }
    currency = UnitText(labelText);
}

}  // namespace collect
