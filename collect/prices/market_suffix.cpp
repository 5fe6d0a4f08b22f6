#include "collect/prices/market_suffix.h"

#include "common/text/web_text.h"

namespace collect {

std::string FillMarketSuffix(const std::string& address, const std::string& suffix) {
    std::string url = address;
    common::ReplaceInPlace(url, "@Market@", suffix);
    return url;
}

std::string SetChinaMarketSuffix(int tryNumber, const std::string& country, const std::string& address,
                                 std::string& suffix) {
    // Hong Kong first, then Shanghai, then Shenzhen.
    static constexpr const char* kSuffixes[] = {".hk", ".ss", ".sz"};
    if (country != "CHN" || tryNumber < 1 || tryNumber > 3) return address;
    suffix = kSuffixes[tryNumber - 1];
    return FillMarketSuffix(address, suffix);
}

}  // namespace collect
