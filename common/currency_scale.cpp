#include "common/currency_scale.h"

#include <initializer_list>

#include "common/startup/process_context.h"
#include "common/text/text_compare.h"
#include "platform/utf8_text.h"

namespace common {
namespace {

struct KnownCurrency {
    const char* code;
    std::initializer_list<const char*> names;  // as the collectors' pages and the rates table write them
};

const KnownCurrency kKnownCurrencies[] = {
    {"JPY", {"日本円", "円"}},
    {"CNY", {"人民元", "中国元", "元"}},
    {"USD", {"米ドル"}},
    {"HKD", {"香港ドル"}},
    {"TWD", {"台湾ドル"}},
    {"GBP", {"英ポンド", "英国ポンド"}},
    {"XEU", {"欧州通貨", "ユーロ"}},
};

// The text is the name, or its start as a fixed-width field cut it.
bool NamesCurrency(const std::string& normalText, const char* name) {
    return NormalizeForCompare(name).starts_with(normalText);
}

enum class PriceClass { kThousandths, kHundredths, kWhole };

PriceClass ClassOf(std::string_view code) {
    if (TextEquals(code, "CNY")) return PriceClass::kThousandths;
    for (std::string_view hundredths : {"HKD", "USD", "TWD", "GBP", "XEU"}) {
        if (TextEquals(code, hundredths)) return PriceClass::kHundredths;
    }
    return PriceClass::kWhole;
}

}  // namespace

platform::Currency CurrencyPriceScale(std::string_view currencyCode) {
    switch (ClassOf(currencyCode)) {
        case PriceClass::kThousandths: return platform::Currency(1000);
        case PriceClass::kHundredths: return platform::Currency(100);
        case PriceClass::kWhole: break;
    }
    return platform::Currency(1);
}

platform::Currency CurrencyPriceUnit(std::string_view currencyCode) {
    // Ten-thousandths: 0.001 = 10, 0.01 = 100.
    switch (ClassOf(currencyCode)) {
        case PriceClass::kThousandths: return platform::Currency::FromRaw(10);
        case PriceClass::kHundredths: return platform::Currency::FromRaw(100);
        case PriceClass::kWhole: break;
    }
    return platform::Currency(1);
}

std::string StockCurrencyCode(std::string_view storedText, std::string_view market) {
    const std::string text = platform::TrimBlanks(storedText);
    if (!text.empty()) {
        const std::string normal = NormalizeForCompare(text);
        for (const KnownCurrency& currency : kKnownCurrencies) {
            if (TextEquals(text, currency.code)) return currency.code;
            for (const char* name : currency.names) {
                if (NamesCurrency(normal, name)) return currency.code;
            }
        }
    }
    return CountryCurrencyCode(platform::TrimBlanks(market));
}

}  // namespace common
