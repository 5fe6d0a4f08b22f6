#pragma once
// A fresh installation of Mirelda whose Japanese market is served by a
// loopback price site, with the real Mirelda beside it as the child copies,
// for whole price-history runs.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "marketdata/code_master.h"
#include "marketdata/key.h"
#include "platform/date.h"
#include "tests/apps/mirelda_installation.h"
#include "tests/support/price_site.h"

namespace price_e2e {

inline constexpr long kProcess = 11;  // price histories of Japan
inline constexpr platform::Date kToDate{2026, 12, 4};

inline std::string StockCode(long n) { return std::to_string(1300 + n); }

struct Stock {
    std::string country;
    std::string code;
    std::string suffix;  // the exchange of a Chinese stock
};

// `count` Japanese stocks.
inline std::vector<Stock> JapaneseStocks(long count) {
    std::vector<Stock> stocks;
    for (long n = 0; n < count; ++n) stocks.push_back({"JPN", StockCode(n), ""});
    return stocks;
}

class PriceInstallation : public mirelda_e2e::MireldaInstallation {
public:
    // The stocks with daily rows from `first` on, the price histories of
    // their countries requested and collected `parallelism` at a time.
    PriceInstallation(const std::vector<Stock>& stocks, platform::Date first, long parallelism)
        : MireldaInstallation(parallelism) {
        site.UseAsPriceSites();
        std::set<int> steps;
        marketdata::CdmTbl master;
        for (const Stock& stock : stocks) {
            marketdata::CdmRec rec;
            marketdata::InitCdmRec(rec, 1);
            marketdata::InitKey(stock.country, "", "1000", "", rec.Key);
            rec.Key.CorpCode = marketdata::FitField(stock.code, 20, "CorpCode");
            rec.InfoText[171 - 133] = "銘柄" + stock.code;
            master.push_back(rec);
            site.AddStock(stock.country, stock.code, first, kToDate, stock.suffix);
            // The chain's price-history steps: Japan, the United States, China.
            steps.insert(stock.country == "JPN" ? 26 : stock.country == "USA" ? 27 : 28);
        }
        marketdata::WriteCodeMaster(marketdata::kCodeMasterFileNumber, 0, 0, "", "", static_cast<long>(master.size()),
                                    env, master);
        Request(steps);

        CollectDailyPricesUpTo(kToDate);
    }

    std::string CtrStatus() { return MireldaInstallation::CtrStatus(kProcess); }

    // The files a price-history run writes: the series and split files, the
    // code master with the stamps of its writing blanked (the key's update
    // stamp, the price-history stamp, and when the market values were taken
    // from the series), and the name index.
    std::map<std::string, std::string> DataFiles() const {
        return Files({"/Chart/", "/Split/", "/CdmTrial", "/Nm"}, {"/CdmTrial"}, {15, 16, 25, 26, 61, 62});
    }

    testsupport::PriceSite site;
};

}  // namespace price_e2e
