// A whole Japanese price-history run collected from nothing with the real
// Mirelda as the child copies, at parallelism 1 and 4, beside its anchor:
// plain libcurl fetching the same pages from the same site, a new connection
// a page, in as many processes; and one stock's collection taken apart in
// this process on a sample of stocks: fetching the pages, parsing them, and
// the rest (folding, merging, moving averages, writing). The run at
// parallelism 1 less its stocks' own collection time is the controller's
// overhead. Run by hand:
//   bench_price_collection [--stocks=N] [--rows=N] [--sample=N] [--rounds=N]
// The full size is 200 stocks of 5,000 daily rows (50 rows a page), with a
// sample of 10 stocks; 40 stocks of 5,000 rows give 101 pages a stock. With
// several rounds, the runs and their anchors take turns and the medians are
// printed.
#include <curl/curl.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collect/prices/price_history_stock.h"
#include "collect/prices/price_request.h"
#include "collect/prices/price_url.h"
#include "collect/web/html_items.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/page_fetch.h"
#include "collect/web/page_layout.h"
#include "common/files/key_layout.h"
#include "common/files/text_file_read.h"
#include "common/run_state.h"
#include "common/startup/process_context.h"
#include "common/startup/run_env.h"
#include "common/tasks/task_files.h"
#include "marketdata/code_master.h"
#include "platform/date.h"
#include "platform/utf8_text.h"
#include "tests/apps/price_installation.h"
#include "tests/support/child_process.h"

namespace {

using Clock = std::chrono::steady_clock;
using price_e2e::PriceInstallation;

constexpr long kPageFile = 10005;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

long CountFlag(int argc, char** argv, std::string_view name, long fallback) {
    const std::string prefix = "--" + std::string(name) + "=";
    for (int a = 1; a < argc; ++a) {
        const std::string_view arg = argv[a];
        if (arg.starts_with(prefix)) return std::stol(std::string(arg.substr(prefix.size())));
    }
    return fallback;
}

// The first date that gives `rows` daily (weekday) rows up to the run's last date.
platform::Date FirstDateFor(long rows) {
    platform::Date date = price_e2e::kToDate;
    for (long found = 0;; date = platform::AddDays(date, -1)) {
        const int weekday = platform::Weekday(date);
        if (weekday != 1 && weekday != 7 && ++found == rows) return date;
    }
}

struct RunFigures {
    double seconds = 0;
    long pages = 0;
};

// One whole run in a fresh installation; false when it did not complete cleanly.
bool TimeRun(long stocks, platform::Date first, long parallelism, RunFigures& figures) {
    PriceInstallation run(price_e2e::JapaneseStocks(stocks), first, parallelism);
    const Clock::time_point start = Clock::now();
    run.Run();
    figures.seconds = Seconds(start, Clock::now());
    figures.pages = run.site.Requests("/t");
    const bool clean = run.CtrStatus() == "Z/00" && run.site.Violations().empty() && run.ui.presenter->boxes.empty();
    if (!clean) std::printf("  run status %s\n%s", run.CtrStatus().c_str(), run.ErrorLog().c_str());
    return clean;
}

// ---- the anchor: plain libcurl, a new connection a page

// Fetches every address of the file, one a line, each with a fresh easy
// handle; false at the first page that does not come whole with status 200.
bool FetchWithPlainCurl(const std::string& urlFile) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    std::ifstream in(urlFile);
    std::string body;
    const auto onBody = +[](char* data, std::size_t size, std::size_t count, void* user) {
        static_cast<std::string*>(user)->append(data, size * count);
        return size * count;
    };
    for (std::string url; std::getline(in, url);) {
        body.clear();
        CURL* curl = curl_easy_init();
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        long status = 0;
        const CURLcode code = curl_easy_perform(curl);
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        curl_easy_cleanup(curl);
        if (code != CURLE_OK || status != 200 || body.find("</html>") == std::string::npos) return false;
    }
    return true;
}

// Every page address of the run's stocks, as their collection asks for them.
std::vector<std::string> RunAddresses(long stocks, long pagesPerStock) {
    collect::PriceUrlTemplate tpl;
    collect::GetPriceUrlTemplate("JPN", "1000", tpl);
    std::vector<std::string> urls;
    for (long n = 0; n < stocks; ++n) {
        collect::PriceRequest request;
        request.Code = price_e2e::StockCode(n);
        request.Candle = "D";
        request.ToDate = price_e2e::kToDate;
        for (long page = 0; page < pagesPerStock; ++page) {
            request.GetPosition = page * std::stol(tpl.LinesPerPage);
            urls.push_back(collect::FillPriceUrl(tpl, request));
        }
    }
    return urls;
}

// The run's pages fetched by `parallelism` processes of this program, each
// with its share of the stocks, against the run's site; wall seconds, or
// nullopt when a page failed.
std::optional<double> TimeAnchor(long stocks, long pagesPerStock, platform::Date first, long parallelism,
                                 const char* self) {
    PriceInstallation site(price_e2e::JapaneseStocks(stocks), first, parallelism);
    const std::vector<std::string> urls = RunAddresses(stocks, pagesPerStock);
    std::vector<std::string> files;
    for (long p = 0; p < parallelism; ++p) {
        files.push_back((site.folder.root() / ("urls" + std::to_string(p) + ".txt")).string());
        std::ofstream out(files.back());
        for (std::size_t i = 0; i < urls.size(); ++i) {
            if (static_cast<long>(i / static_cast<std::size_t>(pagesPerStock)) % parallelism == p) out << urls[i] << "\n";
        }
    }
    const Clock::time_point start = Clock::now();
    std::vector<std::unique_ptr<testsupport::ChildProcess>> children;
    for (const std::string& file : files) {
        children.push_back(std::make_unique<testsupport::ChildProcess>(self, std::vector<std::string>{"--anchor-child=" + file}));
    }
    bool whole = true;
    for (auto& child : children) {
        const std::optional<int> status = child->WaitForExit(std::chrono::minutes(10));
        whole = whole && status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
    }
    const double seconds = Seconds(start, Clock::now());
    if (!whole || site.site.Requests("/t") != static_cast<int>(urls.size())) return std::nullopt;
    return seconds;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Milliseconds summed over the sample stocks.
struct StockParts {
    double fetch = 0;  // the page fetches alone
    double parse = 0;  // reading each saved page back, tokenizing and laying it out
    double whole = 0;  // the stock's whole collection
    long pages = 0;
};

double Milliseconds(Clock::time_point from, Clock::time_point to) { return Seconds(from, to) * 1000; }

// Collects the sample's stocks one by one as a child's part does, then
// fetches and parses the same pages again on their own.
bool TimeStockParts(long sample, platform::Date first, StockParts& parts) {
    PriceInstallation installation(price_e2e::JapaneseStocks(sample), first, 1);
    common::EnvRec& env = installation.env;
    common::SetProcessContext(1, 1);
    common::SetTaskWorkPaths(price_e2e::kProcess, 1, env);
    common::TSCRec control;
    common::InitTaskControlRec(price_e2e::kProcess, 1, env, control);
    common::TSDRec task;
    common::InitTaskDetailRec(price_e2e::kProcess, 1, env, control, task);
    collect::BuildHtmlTagTable();

    marketdata::CdmTbl companies;
    common::SortKeyRec keys;
    common::SetKeyLayout3(keys);
    marketdata::CFCDM10M(marketdata::kCodeMasterFileNumber, 0, 0, "", "JPN", "", "", env, keys, companies);
    common::SystemStateRec settings;
    common::ReadSystemStateFile(env, settings);

    collect::PriceUrlTemplate tpl;
    collect::GetPriceUrlTemplate("JPN", "1000", tpl);
    const std::string& pagePath = common::State().fetchWorkPaths[kPageFile - 10000];
    collect::PageCellTable text;
    collect::PageCellTable link;
    for (marketdata::CdmRec& company : companies) {
        const std::string code = platform::TrimBlanks(company.Key.CorpCode);
        const int before = installation.site.Requests("JPN", code);
        common::MSGRec msg;
        Clock::time_point start = Clock::now();
        if (!collect::AHPJP41M(1, env, msg, company, settings, "D", task)) return false;
        parts.whole += Milliseconds(start, Clock::now());
        const int pages = installation.site.Requests("JPN", code) - before;
        parts.pages += pages;

        // The pages the stock asked for: from the earliest date to the run's
        // last one, a page of rows at a time.
        collect::PriceRequest request;
        request.Code = code;
        request.Candle = "D";
        request.ToDate = price_e2e::kToDate;
        for (int page = 0; page < pages; ++page) {
            request.GetPosition = page * std::stol(tpl.LinesPerPage);
            const std::string url = collect::FillPriceUrl(tpl, request);
            start = Clock::now();
            if (collect::RunW3getv(url) <= 0) return false;
            parts.fetch += Milliseconds(start, Clock::now());

            start = Clock::now();
            std::string bytes;
            common::CFFIL23M(pagePath, bytes);
            collect::HtmlItems items = collect::SplitHtmlItems(bytes);
            collect::ResolveTagAttributes(items);
            std::int32_t cols = 0;
            std::int32_t rows = 0;
            collect::LayoutHtmlItems(items, cols, rows);
            collect::FillPageCellTables(items, cols, rows, text, link);
            parts.parse += Milliseconds(start, Clock::now());
        }
    }
    return installation.site.Violations().empty();
}

void PrintPart(const char* name, double milliseconds, long stocks, double whole) {
    std::printf("  %-42s %8.2f ms per stock  %5.1f %%\n", name, milliseconds / static_cast<double>(stocks),
                100 * milliseconds / whole);
}

}  // namespace

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one;
    in >> one;
    return one;
}

int main(int argc, char** argv) {
    const std::string_view childFlag = "--anchor-child=";
    if (argc == 2 && std::string_view(argv[1]).starts_with(childFlag)) {
        return FetchWithPlainCurl(std::string(argv[1] + childFlag.size())) ? 0 : 1;
    }
    const long stocks = CountFlag(argc, argv, "stocks", 200);
    const long rows = CountFlag(argc, argv, "rows", 5000);
    const long sample = std::min(CountFlag(argc, argv, "sample", 10), stocks);
    const long rounds = CountFlag(argc, argv, "rounds", 1);
    if (stocks < 1 || rows < 1 || sample < 1 || rounds < 1) {
        std::fprintf(stderr, "--stocks, --rows, --sample and --rounds must be at least 1\n");
        return 1;
    }
    const platform::Date first = FirstDateFor(rows);
    std::printf("%ld Japanese stocks of %ld daily rows from %s, collected from nothing\n", stocks, rows,
                platform::DateText(first).c_str());

    std::vector<double> runSeconds[2];
    std::vector<double> anchorSeconds[2];
    RunFigures serial;
    long pages = 0;
    for (long round = 0; round < rounds; ++round) {
        for (const long p : {1, 4}) {
            RunFigures figures;
            if (!TimeRun(stocks, first, p, figures)) return 1;
            pages = figures.pages;
            if (p == 1) serial = figures;
            const std::optional<double> anchor = TimeAnchor(stocks, figures.pages / stocks, first, p, argv[0]);
            if (!anchor) {
                std::fprintf(stderr, "the anchor's fetches failed\n");
                return 1;
            }
            runSeconds[p == 4].push_back(figures.seconds);
            anchorSeconds[p == 4].push_back(*anchor);
        }
    }
    const auto perSecond = [stocks](double seconds) { return static_cast<double>(stocks) / seconds; };
    std::printf("%ld pages a run; %s of %ld round(s), load %s\n", pages, rounds > 1 ? "medians" : "figures", rounds,
                LoadAverage().c_str());
    for (const int i : {0, 1}) {
        const double run = Median(runSeconds[i]);
        const double anchor = Median(anchorSeconds[i]);
        std::printf("parallelism %d: %.1f stocks/s (wall %.2f s); plain libcurl, a new connection a page: %.1f "
                    "stocks/s, %.3f ms a page; the run takes %.2fx its anchor's time\n",
                    i == 0 ? 1 : 4, perSecond(run), run, perSecond(anchor),
                    anchor * 1000 / static_cast<double>(pages) * (i == 0 ? 1 : 4), run / anchor);
    }
    std::printf("speed-up at parallelism 4: %.2f\n", Median(runSeconds[0]) / Median(runSeconds[1]));

    StockParts parts;
    if (!TimeStockParts(sample, first, parts)) {
        std::fprintf(stderr, "the sample's collection or page fetches failed\n");
        return 1;
    }
    std::printf("one stock's collection, in this process, mean of %ld stocks (%ld pages each):\n", sample,
                parts.pages / sample);
    const double rest = parts.whole - parts.fetch - parts.parse;
    PrintPart("(a) fetching the pages", parts.fetch, sample, parts.whole);
    std::printf("  one page's fetch: %.3f ms\n", parts.fetch / static_cast<double>(parts.pages));
    PrintPart("(b) reading back, tokenizing, laying out", parts.parse, sample, parts.whole);
    PrintPart("folding, merging, averages, writing", rest, sample, parts.whole);
    PrintPart("(c) the whole stock", parts.whole, sample, parts.whole);

    // Everything of the run at parallelism 1 outside the stocks' own
    // collection: splitting, child start-up, the parts' code masters, the
    // controller's polling and the final merge of the code master.
    const double perStock = parts.whole / static_cast<double>(sample);
    const double overhead = serial.seconds * 1000 - perStock * static_cast<double>(stocks);
    std::printf("controller overhead at parallelism 1 (run wall less %ld x mean (c)): %.2f ms per stock, %.1f %% "
                "of the run\n",
                stocks, overhead / static_cast<double>(stocks), 100 * overhead / (serial.seconds * 1000));
    return 0;
}
