// Judges synthetic stocks (a deterministic random walk across the price
// bands) with the Kagi engine alone, and for comparison loads one stock's
// series file of the same length. Run by hand: bench_judgement [stocks] [rows]
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/kagi_lines.h"
#include "analysis/kesen_params.h"
#include "bench/bench_support.h"
#include "common/data_file.h"
#include "common/default_settings.h"
#include "marketdata/code_master.h"
#include "marketdata/price_band.h"
#include "marketdata/price_series.h"
#include "platform/date.h"
#include "tests/support/program_folder.h"

namespace {

using platform::Currency;

// A small linear congruential generator: the same series on every run.
struct Walk {
    std::uint64_t state;
    double Next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / static_cast<double>(1ULL << 53);
    }
};

std::vector<marketdata::PriceRec> Series(long stock, long rows) {
    Walk walk{static_cast<std::uint64_t>(stock) * 7919 + 1};
    // Starting prices from 50 to about 60,000 cover the bands from the lowest up.
    double price = 50.0 * (1 + static_cast<double>(stock % 1200));
    platform::Date day{2000, 1, 4};
    std::vector<marketdata::PriceRec> series(static_cast<std::size_t>(rows));
    for (marketdata::PriceRec& row : series) {
        const double open = price;
        price = std::max(1.0, price * (1 + (walk.Next() - 0.5) * 0.06));
        row.Date = day;
        row.Text[0] = platform::DateText(day);
        row.Open = Currency::FromDouble(std::round(open));
        row.Close = Currency::FromDouble(std::round(price));
        row.High = std::max(row.Open, row.Close);
        row.Low = std::min(row.Open, row.Close);
        row.Volume = Currency(static_cast<long long>(1000 + walk.Next() * 100000));
        row.AdjClose = row.Close;
        day = platform::AddDays(day, platform::Weekday(day) == 6 ? 3 : 1);
    }
    return series;
}

}  // namespace

int main(int argc, char** argv) {
    const long stocks = argc > 1 ? std::stol(argv[1]) : 4000;
    const long rows = argc > 2 ? std::stol(argv[2]) : 5000;

    testsupport::ProgramFolder folder(true);
    common::EnvRec env = bench::FreshEnvironment();
    common::WriteKesenDefaults();
    analysis::KesenParamSet params;
    analysis::LoadKesenParams(params);
    std::vector<marketdata::PriceLimitRec> bands;
    marketdata::BuildBuiltInPriceBands(bands);

    double judging = 0;
    std::size_t lines = 0;
    // The series vectors are reused from stock to stock, as a judgement run does.
    std::vector<analysis::KagiLineRec> days;
    std::vector<analysis::KagiLineRec> kagi;
    for (long s = 0; s < stocks; ++s) {
        std::vector<marketdata::PriceRec> prices = Series(s, rows);
        marketdata::CdmRec company;
        judging += bench::BestMilliseconds(1, [&] {
            analysis::AKAGI41M(params, company, bands, days, kagi, std::move(prices));
        });
        lines += kagi.size();
    }

    // One stock's series written as a file of the same length, then loaded.
    marketdata::Key key;
    marketdata::InitKey("JPN", "", "1000", "", key);
    key.CorpCode = marketdata::FitField("7203", 20, "CorpCode");
    std::vector<std::string> text;
    marketdata::PriceRecsToLines(Series(1, rows), text);
    const std::string namePart = marketdata::PriceFileNamePart(key, "D");
    marketdata::WritePriceSeries(env, marketdata::kPriceSeriesFileNumber, namePart, ".txt", text);
    std::vector<marketdata::PriceRec> loaded;
    const double load = bench::BestMilliseconds(5, [&] {
        marketdata::LoadPriceSeries(marketdata::kPriceSeriesFileNumber, env, key, "D", "", ".txt", loaded);
    });

    const double totalRows = static_cast<double>(stocks) * static_cast<double>(rows);
    std::printf("%ld stocks x %ld rows, %zu Kagi lines in all\n", stocks, rows, lines);
    std::printf("  engine: %.2f s, %.1f million rows/s on one core\n", judging / 1000,
                totalRows / (judging / 1000) / 1e6);
    std::printf("  loading one series file of %ld rows: %.2f ms, %.1f million rows/s\n", rows, load,
                static_cast<double>(rows) / (load / 1000) / 1e6);
    return 0;
}
