#include "common/currency_scale.h"

#include "common/text_compare.h"

namespace common {
namespace {

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

}  // namespace common
