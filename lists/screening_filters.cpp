#include <algorithm>
#include <optional>

#include "common/currency_scale.h"
#include "common/text/text_compare.h"
#include "lists/list_numbers.h"
#include "lists/screening.h"
#include "platform/utf8_text.h"

namespace lists {

namespace {

std::string ValueAt(const common::AnalysisRec& rec, std::int32_t position) {
    if (position < 1 || position > kAnalysisPositions) return "";
    return platform::TrimBlanks(rec.Field[static_cast<std::size_t>(position)]);
}

// Keeps the rows that pass, in order, with a progress refresh per hundredth.
template <class Passes>
std::size_t KeepPassing(common::MSGRec& msg, std::vector<common::AnalysisRec>& rows, Passes passes) {
    msg.lngDenominator = static_cast<long>(rows.size());
    const long stride = common::AtLeastOne(static_cast<long>(rows.size()) / 100);
    long seen = 0;
    const auto kept = std::stable_partition(rows.begin(), rows.end(), [&](const common::AnalysisRec& rec) {
        if (++seen % stride == 0) {
            msg.lngNumerator = seen;
            common::ShowStagedProgress(msg);
        }
        return passes(rec);
    });
    rows.erase(kept, rows.end());
    msg.lngNumerator = msg.lngDenominator;
    common::ShowStagedProgress(msg);
    return rows.size();
}

// The row's value within [low, high] (an absent bound is open).
std::size_t KeepInRange(common::MSGRec& msg, std::int32_t position, std::optional<platform::Currency> low,
                        std::optional<platform::Currency> high, std::vector<common::AnalysisRec>& rows) {
    return KeepPassing(msg, rows, [&](const common::AnalysisRec& rec) {
        const std::optional<platform::Currency> value = ListCurrency(ValueAt(rec, position));
        return value && (!low || *low <= *value) && (!high || *value <= *high);
    });
}

std::optional<platform::Currency> Bound(const std::string& text) { return ListCurrency(platform::TrimBlanks(text)); }

struct Choice {
    const char* code;
    const char* name;
};

std::vector<std::string> CodeNameItems(std::initializer_list<Choice> choices) {
    std::vector<std::string> items;
    for (const Choice& c : choices) items.push_back(std::string(c.code) + ":" + c.name);
    return items;
}

std::vector<std::string> IndexChoices(const std::string& category, const ColumnCatalogue& catalogue,
                                      std::span<const common::AnalysisRec> indexRows) {
    const std::size_t row = catalogue.companyCodeRow;
    const std::int32_t codePosition =
        row >= 1 && row <= catalogue.columns.size() ? catalogue.columns[row - 1].ColNo : 0;
    std::vector<std::string> items;
    for (const common::AnalysisRec& rec : indexRows) {
        if (ValueAt(rec, 2) != category) continue;
        items.push_back(ValueAt(rec, codePosition) + ":" + ValueAt(rec, catalogue.companyCodeCompanion));
    }
    return items;
}

}  // namespace

bool IsRangeBoundText(const std::string& text) {
    const std::string trimmed = platform::TrimBlanks(text);
    return trimmed.empty() || ListCurrency(trimmed).has_value();
}

bool KindUsedInOtherRow(std::span<const std::string> kinds, std::size_t k) {
    if (platform::TrimBlanks(kinds[k]).empty()) return false;
    for (std::size_t j = 0; j < kinds.size(); ++j) {
        if (j != k && common::TextEquals(kinds[j], kinds[k])) return true;
    }
    return false;
}

std::vector<std::string> ChoiceItems(const std::string& kind, const ColumnCatalogue& catalogue,
                                     std::span<const common::AnalysisRec> indexRows) {
    const auto is = [&kind](const char* text) { return common::TextEquals(kind, text); };
    if (is("国")) return {"CHN", "JPN", "USA"};
    if (is("投資区分")) {
        return CodeNameItems({{"0010", "指標"},
                              {"0020", "市場"},
                              {"0030", "市場詳細"},
                              {"0040", "ｾｸﾀｰ"},
                              {"0050", "業種"},
                              {"0060", "ﾛｲﾀｰ"},
                              {"1000", "企業情報"}});
    }
    const Choice indexKinds[] = {
        {"0020", "市場"}, {"0030", "市場・詳細"}, {"0040", "ｾｸﾀｰ"}, {"0050", "業種"}, {"0060", "ﾛｲﾀｰ"}};
    for (const Choice& index : indexKinds) {
        if (is(index.name)) return IndexChoices(index.code, catalogue, indexRows);
    }
    if (is(kCurrencyKind)) {
        return CodeNameItems(
            {{"JPY", "日本円"}, {"CNY", "人民元"}, {"USD", "米ドル"}, {"HKD", "香港ドル"}, {"TWD", "台湾ドル"}});
    }
    if (is("転換方向")) return CodeNameItems({{"1", "買"}, {"2", "売"}});
    if (is("転換状態")) return CodeNameItems({{"1", "同時"}, {"2", "連続"}});
    return {};
}

std::size_t FilterByCode(common::MSGRec& msg, std::int32_t position, const std::string& code,
                         std::vector<common::AnalysisRec>& rows) {
    return KeepPassing(msg, rows, [&](const common::AnalysisRec& rec) { return ValueAt(rec, position) == code; });
}

std::size_t FilterByCurrency(common::MSGRec& msg, std::int32_t position, const std::string& code,
                             std::vector<common::AnalysisRec>& rows) {
    return KeepPassing(msg, rows, [&](const common::AnalysisRec& rec) {
        return common::StockCurrencyCode(ValueAt(rec, position), ValueAt(rec, 1)) == code;
    });
}

std::size_t FilterByRange(common::MSGRec& msg, std::int32_t position, const std::string& from, const std::string& to,
                          std::vector<common::AnalysisRec>& rows) {
    return KeepInRange(msg, position, Bound(from), Bound(to), rows);
}

std::size_t FilterFrom(common::MSGRec& msg, std::int32_t position, const std::string& from,
                       std::vector<common::AnalysisRec>& rows) {
    return KeepInRange(msg, position, Bound(from), std::nullopt, rows);
}

std::size_t FilterTo(common::MSGRec& msg, std::int32_t position, const std::string& to,
                     std::vector<common::AnalysisRec>& rows) {
    return KeepInRange(msg, position, std::nullopt, Bound(to), rows);
}

}  // namespace lists
