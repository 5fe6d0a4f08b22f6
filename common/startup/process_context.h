#pragma once
#include <string>
#include <string_view>

namespace common {

// The process that runs: what is done (process index) for which market
// (country index), with the names, codes, result file and page addresses
// that its driver, collectors and log lines read.
struct ProcessContext {
    std::string processIndexText;
    long countryIndex = 0;
    std::string countryName;
    std::string countryCode;
    std::string currencyName;
    std::string currencyCode;
    std::string processName;
    std::string processId;
    long resultFileNumber = 0;
    std::string urlTemplate1;
    std::string urlTemplate2;
    long processNumber = 0;
};

// Sets the process context of (process index, country index) and records it
// in Common\ProcName, Common\ProcFile and Common\ProcId.
void SetProcessContext(long processIndex, long countryIndex);

// The currency code of a country code ("CHN" gives "CNY"); "" for a code
// the country table does not hold.
std::string CountryCurrencyCode(std::string_view countryCode);

// The scheme and host of one site's page addresses ("http://host"), a
// configuration value: the setting HpGet\Site<site> when it is set, else a
// reserved name that reaches no one.
std::string SiteBase(const std::string& site);

}  // namespace common
