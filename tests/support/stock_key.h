#pragma once
#include <string>

#include "marketdata/key.h"

namespace testsupport {

// The key of a code-master entry with the given market, category and code.
inline marketdata::Key StockKey(const std::string& market, const std::string& category, const std::string& corpCode) {
    marketdata::Key key;
    marketdata::InitKey(market, "", category, "", key);
    key.CorpCode = marketdata::FitField(corpCode, 20, "CorpCode");
    return key;
}

}  // namespace testsupport
