#pragma once
#include <string>

#include "collect/prices/price_request.h"

namespace collect {

// The page address of one market's price table, with placeholders between
// "@" signs, and how many rows one page holds.
struct PriceUrlTemplate {
    std::string Country;       // "JPN", "USA", "CHN"
    std::string DataKind;      // "1000" stock or "0010" index: both share the template
    std::string UrlTemplate;   // absolute address
    std::string LinesPerPage;  // "50" or "66"
};

// The template of a market and category (trimmed codes). Hosts come from the
// settings HpGet\SiteJpPrices (Japan) and HpGet\SiteUsPortal (United States,
// China). False, and `tpl` untouched, for any other market or category.
bool GetPriceUrlTemplate(const std::string& country, const std::string& dataKind, PriceUrlTemplate& tpl);

// The address with every placeholder filled from the request except
// "@Market@", which FillMarketSuffix fills afterwards. Days carry no leading
// zero; months are "01"-"12" on the Japanese page and "00"-"11" on the other
// two; the candle letter goes in lower case.
std::string FillPriceUrl(const PriceUrlTemplate& tpl, const PriceRequest& request);

}  // namespace collect
