// Tokenizing and laying out a price page, next to fetching the same page from
// a loopback server (fetch, charset conversion, page file, parse).
#include <benchmark/benchmark.h>

#include <string>

#include "bench/price_page.h"
#include "collect/web/html_items.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/page_fetch.h"
#include "collect/web/page_layout.h"
#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "tests/collect/page_server.h"
#include "tests/support/program_folder.h"

namespace {

void Parse(benchmark::State& state, const std::string& page) {
    collect::BuildHtmlTagTable();
    collect::PageCellTable text;
    collect::PageCellTable link;
    for (auto _ : state) {
        collect::HtmlItems items = collect::SplitHtmlItems(page);
        collect::ResolveTagAttributes(items);
        std::int32_t cols = 0;
        std::int32_t rows = 0;
        collect::LayoutHtmlItems(items, cols, rows);
        collect::FillPageCellTables(items, cols, rows, text, link);
        benchmark::DoNotOptimize(text.At(rows, cols));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.size()));
}

void Fetch(benchmark::State& state, const std::string& page) {
    testsupport::ProgramFolder folder;
    testsupport::PageServer server([&page](httplib::Server& s) {
        s.Get("/page", [&page](const httplib::Request&, httplib::Response& res) {
            res.set_content(page, "text/html; charset=utf-8");
        });
    });
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(41, 1, env);
    collect::BuildHtmlTagTable();
    collect::FetchRec fetch;
    fetch.Url = server.Base() + "/page";
    for (auto _ : state) {
        if (collect::FetchAndParsePage(fetch, collect::PageText(), collect::PageLink()) <= 0) {
            state.SkipWithError("fetch failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(page.size()));
}

void BM_Parse50RowPricePage(benchmark::State& state) { Parse(state, bench::PricePage(50)); }
void BM_Parse300KBPage(benchmark::State& state) { Parse(state, bench::PricePageOfSize(300 * 1024)); }
void BM_Fetch50RowPricePage(benchmark::State& state) { Fetch(state, bench::PricePage(50)); }
void BM_Fetch300KBPage(benchmark::State& state) { Fetch(state, bench::PricePageOfSize(300 * 1024)); }

BENCHMARK(BM_Parse50RowPricePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Parse300KBPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fetch50RowPricePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fetch300KBPage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
