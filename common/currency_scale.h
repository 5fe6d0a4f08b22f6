#pragma once
#include <string_view>

#include "platform/currency.h"

namespace common {

// Price scale of a currency (analysis program): 1000 for CNY; 100 for HKD,
// USD, TWD, GBP and XEU; 1 for any other code. Codes are compared as text
// (common/text_compare.h: case and width ignored, "usd" = "ＵＳＤ" = "USD"),
// untrimmed.
platform::Currency CurrencyPriceScale(std::string_view currencyCode);

// The price unit, the inverse of the scale: 0.001 for CNY; 0.01 for HKD, USD,
// TWD, GBP and XEU; 1 for any other code.
platform::Currency CurrencyPriceUnit(std::string_view currencyCode);

}  // namespace common
