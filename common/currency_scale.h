#pragma once
#include <string>
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

// The currency code of a stock (JPY, CNY, USD, HKD, TWD, GBP or XEU), the
// one decision that the judgement, the charts and the screening share. The
// collectors store the currency as they find it: a code ("JPY", "USD"), a
// page's name of it ("人民元", "香港ドル"), and the name index keeps only its
// first three bytes ("人"). So a code, a known name or the start of one
// gives that currency; a blank or unknown text gives the currency of the
// stock's market (`market`, a country code such as "CHN").
std::string StockCurrencyCode(std::string_view storedText, std::string_view market);

}  // namespace common
