#pragma once
#include <string>

#include "platform/date.h"

namespace collect {

// Everything that changes between the page requests of one stock's price
// history. The texts are trimmed codes; the counters start at 0.
struct PriceRequest {
    std::string Country;       // market of the Key: "JPN", "USA", "CHN"
    std::string SubCode;       // the Key's third code, carried along
    std::string Category;      // "1000" stock, "0010" index
    std::string Code;          // CorpCode: fills "@Code@"
    std::string PeriodMode;    // "1" to "4"
    std::string Candle;        // "D", "W", "M" (or "A"); the address takes it in lower case
    std::string MarketSuffix;  // Chinese stocks: ".hk", ".ss", ".sz", or empty
    platform::Date LastHeldDate{1900, 1, 1};  // last definite row of the series already held
    platform::Date FromDate{1900, 1, 1};      // first date asked for
    platform::Date ToDate{1900, 1, 1};        // last date asked for
    platform::Date PositionDate{1900, 1, 1};  // oldest date folded in so far; ToDate at first
    long GetLine = 0;                         // rows per page
    long GetPosition = 0;                     // row offset of the page to fetch
    long RowIndex = 0;                        // first data row of the page in the cell table
    long TotalRows = 0;                       // rows collected for the stock
    long PageRows = 0;                        // rows the last page added
    long EventRowCount = 0;                   // dividend and split rows set apart
    std::string BackupFlag;                   // "1": keep the old series when a split forces a recollection
};

}  // namespace collect
