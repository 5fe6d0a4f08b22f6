// Loads a daily price series of 5,000 rows, with its texts and with its values
// only, and builds its weekly and monthly series; for comparison, merely
// reads the file's bytes and converts them from CP932, once with the ASCII
// shortcut and once with every byte through iconv.
// Run by hand: bench_price_series [rows] [rounds]
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/files/data_file.h"
#include "common/startup/run_env.h"
#include "marketdata/price_periods.h"
#include "marketdata/price_series.h"
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

// Milliseconds and millions of rows a second.
void PrintRate(const char* what, double ms, long rows, const char* note) {
    std::printf("  %-26s %8.3f ms  %6.1f M rows/s  %s\n", what, ms, static_cast<double>(rows) / ms / 1000.0, note);
}

}  // namespace

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::stol(argv[1]) : 5000;
    const long rounds = argc > 2 ? std::stol(argv[2]) : 20;

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
    const double texts = bench::BestMilliseconds(rounds, [&] {
        marketdata::LoadPriceSeries(marketdata::kPriceSeriesFileNumber, env, key, "D", "", ".txt", daily);
    });
    const std::size_t textRows = daily.size();
    std::vector<marketdata::PriceValues> valueRows;
    const double values = bench::BestMilliseconds(
        rounds, [&] { marketdata::LoadPriceSeriesValues(env, key, "D", "", ".txt", valueRows); });
    std::vector<marketdata::PriceRec> weekly;
    const double week = bench::BestMilliseconds(rounds, [&] { marketdata::BuildWeeklySeries(daily, weekly); });
    std::vector<marketdata::PriceRec> monthly;
    const double month = bench::BestMilliseconds(rounds, [&] { marketdata::BuildMonthlySeries(daily, monthly); });
    std::size_t chars = 0;
    const double shortcut = bench::ReadAndConvertMilliseconds(rounds, path, chars);
    std::size_t iconvChars = 0;
    const double floor = bench::ReadAndIconvMilliseconds(rounds, path, iconvChars);

    std::printf("%ld daily rows, %zu bytes on disk, best of %ld rounds\n", count,
                testsupport::ReadBytes(path).size(), rounds);
    PrintRate("read + iconv (the floor)", floor, count, "");
    PrintRate("read + ASCII shortcut", shortcut, count, "");
    PrintRate("LoadPriceSeries", texts, count, "(every text kept)");
    PrintRate("LoadPriceSeriesValues", values, count, "(values only)");
    std::printf("  BuildWeeklySeries          %8.3f ms  (%zu weeks)\n", week, weekly.size());
    std::printf("  BuildMonthlySeries         %8.3f ms  (%zu months)\n", month, monthly.size());
    std::printf("  LoadPriceSeries / floor        %6.2fx\n", texts / floor);
    std::printf("  LoadPriceSeriesValues / floor  %6.2fx\n", values / floor);
    const bool loaded = textRows == static_cast<std::size_t>(count) && valueRows.size() == textRows;
    return loaded && chars == iconvChars ? 0 : 1;
}
