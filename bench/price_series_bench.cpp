// Loads a daily price series of 5,000 rows and builds its weekly and monthly
// series; for comparison, merely reads the file's bytes and converts them
// from CP932. Run by hand: bench_price_series [rows] [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/data_file.h"
#include "common/run_env.h"
#include "marketdata/price_periods.h"
#include "marketdata/price_series.h"
#include "platform/cp932.h"
#include "platform/date.h"
#include "bench/bench_support.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

// Trading days (Monday to Friday) from 2000/01/03, prices wandering around 2000.
std::vector<std::string> DailyLines(long count) {
    std::vector<std::string> lines;
    platform::Date day{2000, 1, 3};
    long price = 2000;
    for (long i = 0; i < count; ++i) {
        price += (i * 7919 % 41) - 20;
        price = std::max(price, 100L);
        const std::string p = std::to_string(price);
        lines.push_back(platform::DateText(day) + "\t" + p + "\t" + std::to_string(price + 35) + "\t" +
                        std::to_string(price - 30) + "\t" + std::to_string(price + 5) + "\t" +
                        std::to_string(100000 + i * 13 % 90000) + "\t" + std::to_string(price + 5) + ".5");
        day = platform::AddDays(day, platform::Weekday(day) == 6 ? 3 : 1);
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::stol(argv[1]) : 5000;
    const long rounds = argc > 2 ? std::stol(argv[2]) : 10;

    testsupport::ProgramFolder folder;
    common::EnvRec env = bench::FreshEnvironment();
    marketdata::Key key;
    marketdata::InitKey("JPN", "", "1000", "", key);
    key.CorpCode = marketdata::FitField("7203", 20, "CorpCode");
    const std::string namePart = marketdata::PriceFileNamePart(key, "D");
    marketdata::WritePriceSeries(env, marketdata::kPriceSeriesFileNumber, namePart, ".txt", DailyLines(count));
    const std::string path =
        common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0, namePart, ".txt", env);

    std::vector<marketdata::PriceRec> daily;
    const double load = bench::BestMilliseconds(rounds, [&] {
        marketdata::LoadPriceSeries(marketdata::kPriceSeriesFileNumber, env, key, "D", "", ".txt", daily);
    });
    std::vector<marketdata::PriceRec> weekly;
    const double week = bench::BestMilliseconds(rounds, [&] { marketdata::BuildWeeklySeries(daily, weekly); });
    std::vector<marketdata::PriceRec> monthly;
    const double month = bench::BestMilliseconds(rounds, [&] { marketdata::BuildMonthlySeries(daily, monthly); });
    std::size_t chars = 0;
    const double raw = bench::ReadAndConvertMilliseconds(rounds, path, chars);

    std::printf("%ld daily rows, %zu bytes on disk, best of %ld rounds\n", count,
                testsupport::ReadBytes(path).size(), rounds);
    std::printf("  LoadPriceSeries       %8.2f ms (%zu rows)\n", load, daily.size());
    std::printf("  BuildWeeklySeries     %8.2f ms (%zu weeks)\n", week, weekly.size());
    std::printf("  BuildMonthlySeries    %8.2f ms (%zu months)\n", month, monthly.size());
    std::printf("  read + CP932 convert  %8.2f ms (%zu bytes of UTF-8)\n", raw, chars);
    std::printf("  load / read           %8.1fx\n", load / raw);
    return daily.size() == static_cast<std::size_t>(count) ? 0 : 1;
}
