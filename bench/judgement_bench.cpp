// The Kagi engine on synthetic stocks (a deterministic random walk across the
// price bands) against loading a series file of the same length, so the two
// rates can be compared: the engine must stay well ahead of the loading.
// Run by hand:
//   bench_judgement [--stocks=N] [--rows=N] [Google Benchmark flags]
// The full size of a judgement run is --stocks=4000 --rows=5000. Before
// timing, the program checks that a few synthetic stocks still give the line
// and day series they gave when the digest below was recorded.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/kagi_lines.h"
#include "analysis/kesen_params.h"
#include "bench/bench_support.h"
#include "common/settings/default_settings.h"
#include "marketdata/code_master.h"
#include "marketdata/key.h"
#include "marketdata/price_band.h"
#include "marketdata/price_series.h"
#include "platform/date.h"
#include "tests/support/program_folder.h"

namespace {

using analysis::KagiLineRec;
using marketdata::PriceRec;
using platform::Currency;

// The digest of the day and line series of the first kCheckedStocks synthetic
// stocks of kCheckedRows rows, as the engine gave them when it was checked
// against the tests; a faster engine must give the same.
constexpr long kCheckedStocks = 8;
constexpr long kCheckedRows = 5000;
constexpr std::uint64_t kRecordedDigest = 0x5e651c616d6ac52eULL;

// A small linear congruential generator: the same series on every run.
struct Walk {
    std::uint64_t state;
    double Next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / static_cast<double>(1ULL << 53);
    }
};

void Series(long stock, long rows, std::vector<PriceRec>& series) {
    Walk walk{static_cast<std::uint64_t>(stock) * 7919 + 1};
    // Starting prices from 50 to about 60,000 cover the bands from the lowest up.
    double price = 50.0 * (1 + static_cast<double>(stock % 1200));
    platform::Date day{2000, 1, 4};
    series.assign(static_cast<std::size_t>(rows), PriceRec{});
    for (PriceRec& row : series) {
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
        // The texts as a loaded row has them, so the series file can be written.
        const Currency* values[] = {&row.Open, &row.High, &row.Low, &row.Close, &row.Volume, &row.AdjClose};
        for (std::size_t c = 0; c < std::size(values); ++c) row.Text[c + 1] = values[c]->ToText();
        day = platform::AddDays(day, platform::Weekday(day) == 6 ? 3 : 1);
    }
}

// The engine's inputs, the same for every stock.
struct Judgement {
    analysis::KesenParamSet params;
    std::vector<marketdata::PriceLimitRec> bands;
};

// FNV-1a over every field of the records, so any change of a result shows.
class Digest : public bench::Digest {
public:
    using bench::Digest::Add;
    void Add(const Currency& value) { Add(static_cast<std::uint64_t>(value.raw())); }
    void Add(std::int32_t value) { Add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(value))); }

    void Add(const KagiLineRec& r) {
        for (const double date : {r.KagiDate, r.KagiDate2, r.RuleDate}) Add(date);
        for (const Currency* value :
             {&r.Price, &r.Low, &r.High, &r.Volume, &r.VolumeSum, &r.Tick, &r.Width, &r.Move, &r.BreakPrice,
              &r.SignalExtraA, &r.SignalExtraB, &r.SignalPrice, &r.SignalGain, &r.SignalGainPct, &r.SignalExtraC,
              &r.HolePriceA, &r.HolePriceB, &r.HoleRatio, &r.LineLength, &r.OpenCopy, &r.PriceCopy, &r.LengthWork}) {
            Add(*value);
        }
        for (const Currency& value : r.FeatureExtra) Add(value);
        for (const Currency& value : r.LineExtra) Add(value);
        // A flag as the text it stands for, so the recorded digest holds.
        for (const analysis::KagiFlag flag : {r.Direction, r.Marked, r.RuleHit, r.SignalMark, r.TurnState}) {
            Add(flag.Text());
        }
        for (const std::int32_t value : {r.SignalLine, r.PairLine, r.PrevSignalLine, r.RuleCount, r.Features,
                                         r.HoleLines, r.HoleExtra[0], r.HoleExtra[1]}) {
            Add(value);
        }
        for (const std::int32_t value : r.RuleBits) Add(value);
    }
};

std::uint64_t DigestOfCheckedStocks(const Judgement& judgement) {
    Digest digest;
    std::vector<PriceRec> prices;
    std::vector<analysis::KagiDayRec> days;
    std::vector<KagiLineRec> lines;
    for (long s = 0; s < kCheckedStocks; ++s) {
        Series(s, kCheckedRows, prices);
        marketdata::CdmRec company;
        analysis::AKAGI41M(judgement.params, company, judgement.bands, days, lines, marketdata::ValuesOf(prices));
        const marketdata::TermRec& term = company.Term[analysis::kJudgementProcess];
        digest.Add(term.FirstDate);
        digest.Add(term.LastDate);
        digest.Add(static_cast<std::uint64_t>(days.size()));
        for (const analysis::KagiDayRec& day : days) digest.Add(analysis::DayRecord(day));
        digest.Add(static_cast<std::uint64_t>(lines.size()));
        for (const KagiLineRec& line : lines) digest.Add(line);
    }
    return digest.value();
}

// The stocks are generated one at a time outside the timing, and the series
// vectors are reused from stock to stock, as a judgement run does.
void JudgeStocks(benchmark::State& state, const Judgement& judgement, long stocks, long rows) {
    std::vector<PriceRec> prices;
    std::vector<marketdata::PriceValues> values;
    std::vector<analysis::KagiDayRec> days;
    std::vector<KagiLineRec> lines;
    std::size_t lineCount = 0;
    for (auto _ : state) {
        lineCount = 0;
        for (long s = 0; s < stocks; ++s) {
            state.PauseTiming();
            Series(s, rows, prices);
            values = marketdata::ValuesOf(prices);
            marketdata::CdmRec company;
            state.ResumeTiming();
            analysis::AKAGI41M(judgement.params, company, judgement.bands, days, lines, values);
            lineCount += lines.size();
        }
        benchmark::DoNotOptimize(lineCount);
    }
    state.SetItemsProcessed(state.iterations() * stocks * rows);
    state.counters["lines"] = static_cast<double>(lineCount);
}

// One stock's series file of `rows` rows, loaded again and again into the
// same vector.
void LoadSeriesFile(benchmark::State& state, common::EnvRec& env, long rows) {
    marketdata::Key key;
    marketdata::InitKey("JPN", "", "1000", "", key);
    key.CorpCode = marketdata::FitField("7203", 20, "CorpCode");
    std::vector<PriceRec> series;
    Series(1, rows, series);
    std::vector<std::string> text;
    marketdata::PriceRecsToLines(series, text);
    const std::string namePart = marketdata::PriceFileNamePart(key, "D");
    marketdata::WritePriceSeries(env, marketdata::kPriceSeriesFileNumber, namePart, ".txt", text);

    std::vector<PriceRec> loaded;
    for (auto _ : state) {
        if (!marketdata::LoadPriceSeries(marketdata::kPriceSeriesFileNumber, env, key, "D", "", ".txt", loaded)) {
            state.SkipWithError("the series file did not load");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(loaded.size()));
}

// Takes --name=N out of the arguments Google Benchmark left: N, `fallback`
// without the flag, nothing when N is not a whole number of at least 1.
std::optional<long> TakeCountFlag(int& argc, char** argv, std::string_view name, long fallback) {
    const std::string prefix = "--" + std::string(name) + "=";
    std::optional<long> value = fallback;
    int kept = 1;
    for (int a = 1; a < argc; ++a) {
        const std::string_view arg = argv[a];
        if (!arg.starts_with(prefix)) {
            argv[kept++] = argv[a];
            continue;
        }
        const std::string_view text = arg.substr(prefix.size());
        long number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        value = error == std::errc() && end == text.data() + text.size() && number >= 1 ? std::optional(number)
                                                                                        : std::nullopt;
    }
    argc = kept;
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const std::optional<long> stocks = TakeCountFlag(argc, argv, "stocks", 200);
    const std::optional<long> rows = TakeCountFlag(argc, argv, "rows", 5000);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!stocks || !rows) {
        std::fprintf(stderr, "--stocks and --rows take a whole number of at least 1\n");
        return 1;
    }

    testsupport::ProgramFolder folder(true);
    common::EnvRec env = bench::FreshEnvironment();
    common::WriteKesenDefaults();
    Judgement judgement;
    analysis::LoadKesenParams(judgement.params);
    marketdata::BuildBuiltInPriceBands(judgement.bands);

    const std::uint64_t digest = DigestOfCheckedStocks(judgement);
    if (digest != kRecordedDigest) {
        std::fprintf(stderr, "The engine's results changed: digest %016llx, recorded %016llx\n",
                     static_cast<unsigned long long>(digest), static_cast<unsigned long long>(kRecordedDigest));
        return 1;
    }

    const std::string size = std::to_string(*stocks) + "x" + std::to_string(*rows);
    benchmark::RegisterBenchmark(("Engine/" + size).c_str(),
                                 [&](benchmark::State& state) { JudgeStocks(state, judgement, *stocks, *rows); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("LoadSeriesFile/" + std::to_string(*rows)).c_str(),
                                 [&](benchmark::State& state) { LoadSeriesFile(state, env, *rows); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
