#pragma once
#include <string>

#include "marketdata/code_master.h"
#include "marketdata/key.h"

namespace charts {

// The texts that describe the stock or series being charted, set by the list
// screen that opens the chart.
struct ChartTargetRec {
    std::string country;
    std::string listingMarket;
    std::string marketDetail;
    std::string sector;
    std::string industry;
    std::string researchIndustry;
    std::string name;
};

// What the chart window draws: the stock's Key (its second 4-character code
// is the category), its code-master record, its currency and its texts.
struct ChartTarget {
    marketdata::Key key;
    marketdata::CdmRec company;
    std::string currencyCode;
    ChartTargetRec texts;
};

}  // namespace charts
