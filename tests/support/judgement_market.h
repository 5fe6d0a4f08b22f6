#pragma once
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "common/files/data_file.h"
#include "common/files/text_file_write.h"
#include "common/settings/default_settings.h"
#include "marketdata/code_master.h"
#include "marketdata/key.h"
#include "marketdata/price_band.h"
#include "marketdata/price_series.h"
#include "platform/date.h"

namespace testsupport {

// The code of the n-th (0-based) company of a generated market: "1000", ...
inline std::string MarketCompanyCode(long n) { return std::to_string(1000 + n); }

// Daily rows of company n as the series file holds them (date, open, high,
// low, close, quantity, adjusted close): a seeded random walk with a slow
// swing, so that every company draws its own Kagi lines, on weekdays ending
// about a week ago, so that its judgements fall in the summary range.
inline std::vector<marketdata::PriceRec> MarketCompanySeries(long n, long rows) {
    std::uint64_t seed = static_cast<std::uint64_t>(n) * 2654435761ULL + 12345;
    const auto next = [&seed] {
        seed = seed * 2862933555777941757ULL + 3037000493ULL;
        return static_cast<double>(seed >> 11) / 9007199254740992.0;
    };
    double price = 200.0 + 37.0 * static_cast<double>(n % 400);
    platform::Date day = platform::AddDays(platform::Now().date, -(rows * 7 / 5 + 14));
    std::vector<marketdata::PriceRec> series(static_cast<std::size_t>(rows));
    for (std::size_t r = 0; r < series.size(); ++r) {
        const long open = std::lround(price);
        const double swing = 0.01 * std::sin(static_cast<double>(r) / 40.0 + static_cast<double>(n));
        price = std::max(10.0, price * (1.0 + swing + (next() - 0.5) * 0.05));
        const long close = std::lround(price);
        const long volume = 500 + std::lround(next() * 50000);
        std::array<std::string, marketdata::kPriceTextColumns>& text = series[r].Text;
        text[0] = platform::DateText(day);
        const long values[] = {open, std::max(open, close), std::min(open, close), close, volume, close};
        for (std::size_t c = 0; c < std::size(values); ++c) text[c + 1] = std::to_string(values[c]);
        do {
            day = platform::AddDays(day, 1);
        } while (platform::Weekday(day) == 1 || platform::Weekday(day) == 7);
    }
    return series;
}

// A Japanese stock of the code master, every other field at its initial value.
inline marketdata::CdmRec MarketCompany(const std::string& code) {
    marketdata::CdmRec rec;
    marketdata::InitCdmRec(rec, 1);
    marketdata::InitKey("JPN", "", "1000", "", rec.Key);
    rec.Key.CorpCode = marketdata::FitField(code, 20, "CorpCode");
    return rec;
}

// A Japanese market ready for a judgement run in the program folder of
// `env`: the judgement settings, a code master of one industry entry and
// `companies` companies, each company's daily series file of `rows` rows and
// the price-band table.
inline void WriteJudgementMarket(common::EnvRec& env, long companies, long rows) {
    common::WriteKesenDefaults();
    common::WriteAllDefaults();
    marketdata::CdmTbl master(1);
    marketdata::InitCdmRec(master[0], 1);
    marketdata::InitKey("JPN", "", "0020", "", master[0].Key);
    master[0].Key.CorpCode = marketdata::FitField("0050", 20, "CorpCode");
    for (long n = 0; n < companies; ++n) {
        const marketdata::CdmRec rec = MarketCompany(MarketCompanyCode(n));
        master.push_back(rec);
        marketdata::CFHPJ50M(env, marketdata::kPriceSeriesFileNumber, marketdata::PriceFileNamePart(rec.Key, "D"),
                             ".txt", MarketCompanySeries(n, rows));
    }
    marketdata::WriteCodeMaster(marketdata::kCodeMasterFileNumber, 0, 0, "", "", companies + 1, env, master);

    std::vector<marketdata::PriceLimitRec> bands;
    marketdata::BuildBuiltInPriceBands(bands);
    std::vector<std::string> lines;
    for (const marketdata::PriceLimitRec& band : bands) {
        lines.push_back(band.BandLowText + "\t" + band.BandHighText + "\t" + band.WidthText + "\t" + band.TickText);
    }
    common::CFFIL30M(lines, common::BuildDataFilePath(marketdata::kPriceBandFileNumber, 0, 0, "", "", env));
}

}  // namespace testsupport
