// Tokenizing and laying out a price page, next to fetching the same page from
// a loopback server (fetch, charset conversion, page file, parse).
#include <benchmark/benchmark.h>

#include <string>

#include "collect/html_items.h"
#include "collect/html_tag_table.h"
#include "collect/page_fetch.h"
#include "collect/page_layout.h"
#include "common/run_env.h"
#include "common/run_state.h"
#include "tests/collect/page_server.h"
#include "tests/support/program_folder.h"

namespace {

// A price table page of `rows` rows, in the shape of the data sources' pages.
std::string PricePage(int rows) {
    std::string page =
        "<html><head><title>時系列</title><script>var a = 1;</script></head><body><div class=\"h\"><b>7203 "
        "トヨタ自動車</b></div><table border=1 cellpadding=2><tr><th>日付</th><th>始値</th><th>高値</th>"
        "<th>安値</th><th>終値</th><th>出来高</th><th>調整後終値*</th></tr>\n";
    for (int n = 0; n < rows; ++n) {
        const std::string day = std::to_string(1 + n % 28);
        page += "<tr align=right><td><small>2005年3月" + day + "日</small></td><td>4,120</td><td>4,150</td>"
                "<td>4,080</td><td><b>4,130</b></td><td>5,312,300</td><td>4,130</td></tr>\n";
    }
    page += "</table><a href=\"/q?s=7203&p=2\">次へ</a><br>&#12354;&nbsp;&copy;</body></html>";
    return page;
}

std::string PageOfSize(std::size_t bytes) {
    int rows = 50;
    while (PricePage(rows).size() < bytes) rows += 50;
    return PricePage(rows);
}

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

void BM_Parse50RowPricePage(benchmark::State& state) { Parse(state, PricePage(50)); }
void BM_Parse300KBPage(benchmark::State& state) { Parse(state, PageOfSize(300 * 1024)); }
void BM_Fetch50RowPricePage(benchmark::State& state) { Fetch(state, PricePage(50)); }
void BM_Fetch300KBPage(benchmark::State& state) { Fetch(state, PageOfSize(300 * 1024)); }

BENCHMARK(BM_Parse50RowPricePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Parse300KBPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fetch50RowPricePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Fetch300KBPage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
