#include "common/settings/price_settings_check.h"

#include <optional>

#include "platform/date_parse.h"
#include "platform/utf8_text.h"

namespace common {

namespace {

constexpr const char* kFirstDate = "1900/01/01";

PriceCheckResult Refused(const std::string& warning, PriceCheckField field) {
    PriceCheckResult result;
    result.warning = warning;
    result.field = field;
    return result;
}

// The typed date reformatted, or the refusal for an empty or impossible one.
std::optional<PriceCheckResult> CheckDate(const std::string& typed, const char* missing, const char* wrong,
                                          PriceCheckField field, std::string& text) {
    if (platform::TrimBlanks(typed).empty()) return Refused(missing, field);
    const std::optional<platform::Date> date = platform::ParseDate(typed);
    if (!date) return Refused(wrong, field);
    text = platform::DateText(*date);
    return std::nullopt;
}

}  // namespace

PriceCheckResult CheckPriceSettings(const CollectionScreenState& screen, const platform::Date& today,
                                    SystemStateRec& rec) {
    static constexpr const char* kMethods[] = {"1", "2", "Z"};
    if (screen.method < 1 || screen.method > 3) return Refused("収集方法を選択して下さい。　", PriceCheckField::None);
    if (screen.method == 2 && screen.countries == std::array<int, 3>{}) {
        return Refused("国を選択して下さい。　", PriceCheckField::None);
    }
    static constexpr const char* kCandles[] = {"D", "W", "M", "A"};
    if (screen.candle < 1 || screen.candle > 4) return Refused("収集データを選択して下さい。　", PriceCheckField::None);
    if (screen.period < 1 || screen.period > 4) {
        return Refused("収集する日付(期間)を選択して下さい。　", PriceCheckField::PeriodOption);
    }

    PriceCheckResult result;
    const std::string todayText = platform::DateText(today);
    std::string from = todayText;
    std::string to = todayText;
    if (screen.period == 2) from = kFirstDate;
    if (screen.period == 4) from = to = kFirstDate;
    if (screen.period == 3) {
        if (auto refused = CheckDate(screen.dateFrom, "開始日付を入力して下さい。　",
                                     "開始日付に正しい日付を入力して下さい。　", PriceCheckField::DateFrom, from)) {
            return *refused;
        }
        if (auto refused = CheckDate(screen.dateTo, "終了日付を入力して下さい。　",
                                     "終了日付に正しい日付を入力して下さい。　", PriceCheckField::DateTo, to)) {
            // The From box already holds its date rewritten.
            refused->dateFrom = from;
            return *refused;
        }
        result.dateFrom = from;
        result.dateTo = to;
        if (from > to) {
            PriceCheckResult later = Refused("開始日付＜終了日付で入力して下さい。　", PriceCheckField::BothDates);
            later.dateFrom = from;
            later.dateTo = to;
            return later;
        }
    }

    rec.Method = kMethods[screen.method - 1];
    for (std::size_t i = 0; i < 3; ++i) rec.PriceCountryFlags[i + 1] = screen.countries[i];
    rec.Candle = kCandles[screen.candle - 1];
    rec.PeriodMode = std::to_string(screen.period);
    rec.FromDate = from;
    rec.ToDate = to;
    rec.BackupFlag = screen.backup == 1 ? "1" : "0";
    result.passed = true;
    return result;
}

}  // namespace common
