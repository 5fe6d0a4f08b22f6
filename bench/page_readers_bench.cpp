// Hostile pages of 1, 4 and 16 MB through the page layer: the cell readers of
// the collectors on a grid of one wide row above one tall column, the rate
// history's header search on a row of "通貨種類" cells, the charset step on a
// UTF-8 page served as Shift_JIS and on a page of "<meta" without end; and
// the peak memory of fetching and parsing a page at the fetch's 64 MB cap,
// measured in a child process per shape. Each figure is the best of its rounds; the time
// per MB shows whether a cost grows with the page or faster.
// Run by hand: bench_page_readers [rounds] [budget seconds] [sizes in MB...]
//          or: bench_page_readers peak [MB]
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "collect/company_lists/jp_company_list.h"
#include "collect/company_lists/list_collector_run.h"
#include "collect/company_pages/cn_profile_page.h"
#include "collect/company_pages/cn_quote_page.h"
#include "collect/company_pages/jp_profile_page.h"
#include "collect/company_pages/jp_quote_page.h"
#include "collect/company_pages/research_report_page.h"
#include "collect/company_pages/us_quote_page.h"
#include "collect/prices/price_table.h"
#include "collect/rates/fx_history_page.h"
#include "collect/web/html_items.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/page_fetch.h"
#include "platform/page_charset.h"
#include "tests/collect/page_server.h"
#include "tests/support/program_folder.h"

namespace {

constexpr double kMegabyte = 1 << 20;

// Repeats `unit` between `head` and `tail` until the page holds `bytes`.
std::string Repeated(const std::string& head, const std::string& unit, const std::string& tail, std::size_t bytes) {
    std::string page = head;
    page.reserve(bytes + unit.size() + tail.size());
    while (page.size() + tail.size() < bytes) page += unit;
    return page + tail;
}

// k cells in one row above k rows of one cell: a k x k grid of which 2k
// cells hold text.
std::string WideOverTall(std::size_t bytes) {
    const std::size_t k = (bytes - 24) / 29;
    std::string page = "<table><tr>";
    page.reserve(bytes + 64);
    for (std::size_t n = 0; n < k; ++n) page += "<td>c</td>";
    page += "</tr>";
    for (std::size_t n = 0; n < k; ++n) page += "<tr><td>r</td></tr>";
    return page + "</table>";
}

// One row of cells that hold the date column's heading but are not it, and no rate codes.
std::string HeaderRow(std::size_t bytes) { return Repeated("<table><tr>", "<td>通貨種類A</td>", "</tr></table>", bytes); }

// A price table of many rows, the shape of the data sources' pages.
std::string PriceRows(std::size_t bytes) {
    return Repeated("<table><tr><th>日付</th><th>始値</th><th>高値</th><th>安値</th><th>終値</th><th>出来高</th>"
                    "<th>調整後終値*</th></tr>\n",
                    "<tr align=right><td><small>2005年3月9日</small></td><td>4,120</td><td>4,150</td>"
                    "<td>4,080</td><td><b>4,130</b></td><td>5,312,300</td><td>4,130</td></tr>\n",
                    "</table>", bytes);
}

// Every character a tag of its own.
std::string Brackets(std::size_t bytes) { return std::string(bytes, '<'); }

// A cell of one character after every five bytes, each nested in the one before.
std::string TinyCells(std::size_t bytes) { return Repeated("<table><tr>", "<td>x", "</table>", bytes); }

// Cells nested in each other, as deep as the page is long.
std::string NestedCells(std::size_t bytes) { return Repeated("<table><tr>", "<td>", "", bytes); }

// Japanese text in UTF-8, which a Shift_JIS reading refuses at nearly every byte.
std::string Utf8Text(std::size_t bytes) { return Repeated("<html><body>", "株価の時系列データ。", "</body></html>", bytes); }

std::string MetaRun(std::size_t bytes) { return Repeated("<html><head>", "<meta", "", bytes); }

struct Reader {
    const char* name;
    std::function<void(const collect::FetchRec&)> run;
};

std::vector<Reader> Readers() {
    using collect::PageText;
    return {
        {"japan profile check",
         [](const collect::FetchRec&) {
             marketdata::CpiRec profile;
             std::int32_t r = 0, c = 0;
             collect::CheckJapanProfilePage(PageText(), profile, r, c);
         }},
        {"japan profile labels",
         [](const collect::FetchRec&) {
             marketdata::CdmRec company;
             marketdata::CpiRec profile;
             collect::ParseJapanProfile(company, profile, PageText(), 1, 1);
         }},
        {"china profile check",
         [](const collect::FetchRec&) {
             std::int32_t r = 0, c = 0;
             collect::CheckChinaProfilePage(PageText(), r, c);
         }},
        {"quote checks",
         [](const collect::FetchRec&) {
             std::int32_t r = 0, c = 0;
             collect::CheckJapanQuotePage(PageText(), r, c);
             collect::CheckChinaQuotePage(PageText(), r, c);
             collect::CheckChinaFinancialsPage(PageText(), r, c);
             collect::CheckUsQuotePage(PageText(), r, c);
         }},
        {"research check",
         [](const collect::FetchRec&) {
             std::int32_t r = 0, c = 0;
             collect::CheckReportPage(PageText(), r, c);
         }},
        {"price table by labels",
         [](const collect::FetchRec& fetch) {
             collect::PriceColumnMap map;
             collect::ParsePriceTable("1000", map, fetch, PageText());
         }},
        {"price table by shape",
         [](const collect::FetchRec& fetch) {
             collect::PriceColumnMap map;
             collect::FindPriceTableByShape("1000", map, fetch, PageText());
         }},
        {"rate history header",
         [](const collect::FetchRec&) {
             collect::FxColumnMap map;
             collect::FindFxHistoryHeader(PageText(), map);
             collect::HasNextFxPage(PageText(), 1);
         }},
        {"company list starts",
         [](const collect::FetchRec& fetch) {
             std::int32_t r = 0, c = 0;
             collect::FindLabelCell("Companies", fetch, r, c);
             collect::FindJpListStart(fetch);
         }},
    };
}

struct Shape {
    const char* name;
    std::string (*page)(std::size_t);
};

// Best time of the layout and of all readers of one grid page; a reader
// whose first round exceeds the budget is not repeated.
void TimeGrid(const Shape& shape, double megabytes, long rounds, double budgetMs) {
    const std::string page = shape.page(static_cast<std::size_t>(megabytes * kMegabyte));
    collect::FetchRec fetch;
    const double layout =
        bench::BestMilliseconds(rounds, [&] { collect::ParsePage(page, fetch, collect::PageText(), collect::PageLink()); });
    double readers = 0;
    std::string slowest;
    double slowestMs = 0;
    for (const Reader& reader : Readers()) {
        double best = bench::BestMilliseconds(1, [&] { reader.run(fetch); });
        if (best < budgetMs) best = std::min(best, bench::BestMilliseconds(rounds - 1, [&] { reader.run(fetch); }));
        readers += best;
        if (best > slowestMs) {
            slowestMs = best;
            slowest = reader.name;
        }
    }
    std::printf("%-22s %5.2f MB  grid %8d x %-8d layout %9.1f ms (%6.1f ms/MB)  readers %9.1f ms (%7.2f ms/MB)"
                "  slowest: %s %.1f ms\n",
                shape.name, megabytes, fetch.RowCount, fetch.ColCount, layout, layout / megabytes,
                readers, readers / megabytes, slowest.c_str(), slowestMs);
    std::fflush(stdout);
}

void TimeCharset(const Shape& shape, const char* contentType, double megabytes, long rounds) {
    const std::string page = shape.page(static_cast<std::size_t>(megabytes * kMegabyte));
    const double took =
        bench::BestMilliseconds(rounds, [&] { (void)platform::PageToCp932(page, contentType); });
    std::printf("%-22s %5.2f MB  to CP932 %9.1f ms (%7.2f ms/MB)\n", shape.name, megabytes, took,
                took / megabytes);
    std::fflush(stdout);
}

long KilobytesOf(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
    }
    return 0;
}

// The peak a child process reaches fetching a page of the shape and size
// from a loopback server and parsing it into the tables, above where it
// started, with the fetch's result.
void PeakOfFetch(const Shape& shape, double megabytes) {
    const std::string page = shape.page(static_cast<std::size_t>(megabytes * kMegabyte));
    testsupport::PageServer server([&page](httplib::Server& s) {
        s.Get("/page", [&page](const httplib::Request&, httplib::Response& res) {
            res.set_content(page, "text/html; charset=utf-8");
        });
    });
    const pid_t child = fork();
    if (child == 0) {
        common::EnvRec env = bench::FreshEnvironment();
        collect::BuildHtmlTagTable();
        collect::FetchRec fetch;
        fetch.Url = server.Base() + "/page";
        const long start = KilobytesOf("VmRSS:");
        const std::int32_t result = collect::FetchAndParsePage(fetch, collect::PageText(), collect::PageLink());
        const long peak = KilobytesOf("VmHWM:");
        std::printf("%-22s %5.2f MB  result %3d  grid %8d x %-8d  peak %7.0f MB (%5.1f x the page)\n", shape.name,
                    megabytes, result, fetch.RowCount, fetch.ColCount, static_cast<double>(peak - start) / 1024.0,
                    static_cast<double>(peak - start) / 1024.0 / megabytes);
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status)) std::printf("%-22s %5.2f MB  child ended abnormally\n", shape.name, megabytes);
}

}  // namespace

int main(int argc, char** argv) {
    testsupport::ProgramFolder folder(true);
    common::EnvRec env = bench::FreshEnvironment();
    collect::BuildHtmlTagTable();

    if (argc > 1 && std::string(argv[1]) == "peak") {
        // Each shape at its largest page that the fetch (64 MB) and the parse
        // (its most items) take, and once beyond the parse's limit; or at
        // the size asked for.
        for (const Shape& shape : {Shape{"price rows", PriceRows}, Shape{"one-byte tags", Brackets},
                                   Shape{"tiny cells", TinyCells}, Shape{"nested cells", NestedCells},
                                   Shape{"wide row over column", WideOverTall}}) {
            if (argc > 2) {
                PeakOfFetch(shape, std::stod(argv[2]));
                continue;
            }
            const double perMegabyte = static_cast<double>(collect::CountHtmlItems(shape.page(1 << 20)));
            const double admitted = std::min(63.99, 0.999 * static_cast<double>(collect::kMaxHtmlItems) / perMegabyte);
            PeakOfFetch(shape, admitted);
            if (admitted < 63) PeakOfFetch(shape, 63.99);
        }
        return 0;
    }
    // Freed memory stays with the process, so that the rounds after the
    // first time the work rather than the machine's page faults.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    const long rounds = argc > 1 ? std::stol(argv[1]) : 3;
    const double budgetMs = (argc > 2 ? std::stod(argv[2]) : 5.0) * 1000.0;
    std::vector<double> sizes;
    for (int i = 3; i < argc; ++i) sizes.push_back(std::stod(argv[i]));
    if (sizes.empty()) sizes = {1, 4, 16};
    for (const Shape& shape : {Shape{"wide row over column", WideOverTall}, Shape{"row of 通貨種類", HeaderRow}}) {
        for (const double mb : sizes) TimeGrid(shape, mb, rounds, budgetMs);
    }
    for (const double mb : sizes) TimeCharset({"UTF-8 as Shift_JIS", Utf8Text}, "text/html; charset=Shift_JIS", mb, rounds);
    for (const double mb : sizes) TimeCharset({"<meta without end", MetaRun}, "", mb, rounds);
    return 0;
}
