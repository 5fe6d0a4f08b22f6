#pragma once
#include <string>

namespace collect {

// Chinese stocks are addressed by code and exchange suffix ("@Code@@Market@").

// The address with every "@Market@" replaced by `suffix`; an empty suffix
// removes the placeholder.
std::string FillMarketSuffix(const std::string& address, const std::string& suffix);

// For "CHN", try 1, 2 and 3 give ".hk", ".ss" and ".sz": the suffix goes
// into `suffix` and into the address. Any other try or country returns the
// address unchanged and leaves `suffix` as it was.
std::string SetChinaMarketSuffix(int tryNumber, const std::string& country, const std::string& address,
                                 std::string& suffix);

}  // namespace collect
