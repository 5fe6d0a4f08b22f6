#include "common/settings/exchange_rates.h"

#include <iterator>
#include <optional>

#include "common/settings/settings.h"
#include "platform/numeric_text.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace common {

namespace {

struct RateKey {
    const char* path;
    const char* code;
};

constexpr RateKey kRateKeys[] = {
    {"MirControl\\ComExcg\\ExcgJPY", "JPY"}, {"MirControl\\ComExcg\\ExcgCNY", "CNY"},
    {"MirControl\\ComExcg\\ExcgUSD", "USD"}, {"MirControl\\ComExcg\\ExcgHKD", "HKD"},
    {"MirControl\\ComExcg\\ExcgTWD", "TWD"}, {"MirControl\\ComExcg\\ExcgGBP", "GBP"},
    {"MirControl\\ComExcg\\ExcgXEU", "XEU"},
};

std::string OrWhenBlank(std::string value, const char* fallback) {
    return platform::TrimBlanks(value).empty() ? fallback : value;
}

}  // namespace

ExchangeRate ReadExchangeRates(int currencyIndex) {
    const bool known = currencyIndex >= 1 && currencyIndex <= static_cast<int>(std::size(kRateKeys));
    const RateKey key = known ? kRateKeys[currencyIndex - 1] : RateKey{"", ""};
    ExchangeRate out;
    out.currencyCode = key.code;
    out.date = OrWhenBlank(ReadSetting("MirControl\\ComExcg\\ExcgDate"), "1900/01/01");
    out.time = OrWhenBlank(ReadSetting("MirControl\\ComExcg\\ExcgTime"), "00:00:00");
    out.rateText = OrWhenBlank(platform::TrimBlanks(ReadSetting(key.path)), "1");
    const std::optional<platform::Currency> rate = platform::ParseCurrency(out.rateText);
    if (!rate) platform::RaiseError(platform::error_number::kTypeMismatch, "ReadExchangeRates");
    out.rate = *rate;
    return out;
}

}  // namespace common
