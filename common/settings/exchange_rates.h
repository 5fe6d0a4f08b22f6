#pragma once
#include <string>

#include "platform/currency.h"

namespace common {

// The stored rate of one currency with the date and time the rates were taken.
struct ExchangeRate {
    platform::Currency rate;
    std::string rateText;
    std::string date;
    std::string time;
    std::string currencyCode;
};

// Currency index 1 JPY, 2 CNY, 3 USD, 4 HKD, 5 TWD, 6 GBP, 7 XEU (the country
// order). Unset values read as rate "1", date "1900/01/01" and time
// "00:00:00". An index outside 1..7 has no key: the application error of a
// malformed settings path ends the program. A stored rate that is not a
// number raises type mismatch.
ExchangeRate ReadExchangeRates(int currencyIndex);

}  // namespace common
