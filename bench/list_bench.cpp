// Fills the screening list from an analysis file of 4,000 companies (the
// run reads the file each time), the first time in the process and again,
// with the programs' memory policy, against sorting it by a numeric and a
// text column; with a digest of the filled list, which stays the same while
// the list shows the same. Run by hand: bench_list [companies] [rounds]
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/analysis_info_file.h"
#include "analysis/analysis_info_record.h"
#include "bench/bench_support.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "lists/list_sort.h"
#include "lists/screening.h"
#include "marketdata/analysis_info_reader.h"
#include "platform/memory_policy.h"
#include "tests/support/program_folder.h"

namespace {

std::vector<analysis::AnalysisInfoRec> Companies(long count) {
    std::vector<analysis::AnalysisInfoRec> recs(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        analysis::AnalysisInfoRec& rec = recs[static_cast<std::size_t>(i)];
        rec.Market = "JPN";
        rec.Category = "1000";
        rec.IndCode = {"0001", "0002", "0003", "0004", "0005"};
        rec.CorpCode = std::to_string(1300 + (i * 7919) % count);
        for (std::size_t t = 0; t < rec.Text.size(); ++t) {
            // Numbers of every size and sign, and texts (本社所在地 among them).
            const long v = (i * 2654435761L + static_cast<long>(t) * 40503L) % 2000003L - 1000000L;
            rec.Text[t] = (t + analysis::kFirstTextPosition) % 5 == 2
                              ? "株式会社サンプル" + std::to_string(v)
                              : std::to_string(v) + "." + std::to_string(t % 10);
        }
    }
    return recs;
}

std::size_t ColumnOf(const lists::ListData& list, const std::string& caption) {
    std::size_t c = 0;
    while (c < list.columns.size() && list.columns[c].caption != caption) ++c;
    return c + 1;
}

std::uint64_t DigestOf(const lists::ListData& list) {
    bench::Digest digest;
    for (const lists::ListColumn& column : list.columns) {
        digest.Add(column.caption);
        digest.Add(static_cast<std::uint64_t>(column.align));
    }
    for (const lists::ListRow& row : list.rows) {
        digest.Add(static_cast<std::uint64_t>(row.cells.size()));
        for (const lists::ListCell& cell : row.cells) {
            digest.Add(cell.text);
            for (const int part : {cell.colour.red, cell.colour.green, cell.colour.blue}) {
                digest.Add(static_cast<std::uint64_t>(part));
            }
        }
    }
    return digest.value();
}

}  // namespace

int main(int argc, char** argv) {
    platform::KeepFreedMemory();  // as the programs do
    const long companies = argc > 1 ? std::stol(argv[1]) : 4000;
    const long rounds = argc > 2 ? std::stol(argv[2]) : 6;

    testsupport::ProgramFolder folder(true);
    common::EnvRec env = bench::FreshEnvironment();
    common::WriteSetting(common::SettingKeyPath("Common", "ListMax"), std::to_string(companies));
    common::MSGRec msg;
    analysis::WriteAnalysisFile(msg, marketdata::kAnalysisInfoFileNumber, 0, "", env, Companies(companies));
    lists::ColumnCatalogue catalogue;
    lists::CFMCT10M(env, "", catalogue);

    std::vector<lists::ColumnSortState> states;
    lists::ScreeningResult result;
    const bench::FirstAndMedian fill = bench::TimeFirstAndMedian(rounds, [&] {
        common::State().analysisTable.clear();
        result = lists::ScreenAnalysisInfo(env, msg, catalogue, {}, states);
    });
    lists::ListData& list = result.list;
    const std::uint64_t digest = DigestOf(list);
    const std::size_t price = ColumnOf(list, "取引値");
    const std::size_t name = ColumnOf(list, "本社所在地");
    const double numeric =
        bench::TimeFirstAndMedian(rounds, [&] {
            lists::SortListByColumn(states, lists::SortMode::Toggle, price, list);
        }).median;
    const double text =
        bench::TimeFirstAndMedian(rounds, [&] {
            lists::SortListByColumn(states, lists::SortMode::Toggle, name, list);
        }).median;

    std::printf("%ld companies, %zu rows of %zu columns, medians of %ld rounds, digest %016llx\n", companies,
                list.rows.size(), list.columns.size(), rounds - 1, static_cast<unsigned long long>(digest));
    std::printf("  ScreenAnalysisInfo (read file, fill)  %8.1f ms the first time, %.1f ms again\n", fill.first,
                fill.median);
    std::printf("  sort by 取引値 (number)               %8.1f ms\n", numeric);
    std::printf("  sort by 本社所在地 (text)             %8.1f ms\n", text);
    std::printf("  the fill takes %.0fx the numeric sort the first time, %.0fx again\n", fill.first / numeric,
                fill.median / numeric);
    return list.rows.size() == static_cast<std::size_t>(companies) ? 0 : 1;
}
