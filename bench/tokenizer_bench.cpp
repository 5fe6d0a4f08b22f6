// The tokenizer and layout of price table pages of 10 KB, 300 KB and 5 MB,
// beside the anchor: lxml (libxml2's HTML parser) building its tree of the
// same UTF-8 page, timed inside the system python3. Medians of interleaved
// rounds; the bytes held by the item list are measured on the heap while the
// items live. Run by hand: bench_tokenizer [rounds]
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench/price_page.h"
#include "collect/web/html_items.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/page_cell_table.h"
#include "collect/web/page_fetch.h"
#include "tests/support/program_folder.h"

namespace {

using Clock = std::chrono::steady_clock;

// Parses the page `argv[1]` as often as fit into about `argv[2]` seconds and
// prints the milliseconds of one parse.
constexpr const char* kLxmlScript = R"(
import sys, time
from lxml import etree
data = open(sys.argv[1], 'rb').read()
parser = etree.HTMLParser(encoding='utf-8')
budget = float(sys.argv[2])
n = 0
start = time.perf_counter()
while True:
    etree.fromstring(data, parser)
    n += 1
    took = time.perf_counter() - start
    if took >= budget:
        break
print(took * 1000 / n)
)";

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds of one tokenizer and layout pass, over about `budget` seconds.
double OwnMilliseconds(const std::string& page, double budget) {
    collect::FetchRec fetch;
    collect::PageCellTable text;
    collect::PageCellTable link;
    long n = 0;
    const Clock::time_point start = Clock::now();
    std::chrono::duration<double> took{};
    do {
        collect::ParsePage(page, fetch, text, link);
        ++n;
        took = Clock::now() - start;
    } while (took.count() < budget);
    return took.count() * 1000 / static_cast<double>(n);
}

std::optional<double> LxmlMilliseconds(const std::string& scriptPath, const std::string& pagePath, double budget) {
    const std::string command =
        "/usr/bin/python3 " + scriptPath + " " + pagePath + " " + std::to_string(budget) + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    double ms = 0;
    const bool read = std::fscanf(pipe, "%lf", &ms) == 1;
    return pclose(pipe) == 0 && read ? std::optional<double>(ms) : std::nullopt;
}

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Bytes the item list of the page holds once resolved, beyond the page's
// text, which the items take over.
std::size_t ItemBytes(const std::string& page) {
    std::string text = page;
    const std::size_t before = HeapInUse();
    collect::HtmlItems items = collect::SplitHtmlItems(std::move(text));
    collect::ResolveTagAttributes(items);
    return HeapInUse() - before;
}

struct Size {
    const char* name;
    std::size_t bytes;
};

}  // namespace

int main(int argc, char** argv) {
    const long rounds = argc > 1 ? std::stol(argv[1]) : 5;
    testsupport::ProgramFolder folder(true);
    collect::BuildHtmlTagTable();
    // The anchor's script and pages go into the temporary folder, not where the bench is run.
    const std::string script = (folder.root() / "lxml_parse.py").string();
    std::ofstream(script) << kLxmlScript;

    const std::vector<Size> sizes = {{"10 KB", 10 * 1024}, {"300 KB", 300 * 1024}, {"5 MB", 5 * 1024 * 1024}};
    std::vector<std::string> pages;
    std::vector<std::string> paths;
    for (const Size& size : sizes) {
        pages.push_back(bench::PricePageOfSize(size.bytes));
        paths.push_back((folder.root() / ("page_" + std::to_string(size.bytes) + ".html")).string());
        std::ofstream(paths.back(), std::ios::binary) << pages.back();
    }
    std::vector<std::vector<double>> own(sizes.size());
    std::vector<std::vector<double>> lxml(sizes.size());
    for (long round = 0; round < rounds; ++round) {
        for (std::size_t s = 0; s < sizes.size(); ++s) {
            own[s].push_back(OwnMilliseconds(pages[s], 0.5));
            if (const std::optional<double> ms = LxmlMilliseconds(script, paths[s], 0.5)) lxml[s].push_back(*ms);
        }
    }
    std::printf("tokenizer + layout of a price page (medians of %ld interleaved rounds)\n", rounds);
    for (std::size_t s = 0; s < sizes.size(); ++s) {
        const double ms = Median(own[s]);
        const double mb = static_cast<double>(pages[s].size()) / (1 << 20);
        const double items = static_cast<double>(ItemBytes(pages[s]));
        std::printf("  %-7s %9.3f ms  %6.1f MB/s  items %7.1f MB (%4.1f x the page)", sizes[s].name, ms, mb / ms * 1000,
                    items / (1 << 20), items / static_cast<double>(pages[s].size()));
        if (lxml[s].empty()) {
            std::printf("  lxml: not available\n");
        } else {
            const double anchor = Median(lxml[s]);
            std::printf("  lxml %9.3f ms  ratio %.2f\n", anchor, ms / anchor);
        }
    }
    return 0;
}
