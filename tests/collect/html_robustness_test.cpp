// The tokenizer and the layout take any bytes: seeded mutations of the
// fixture pages (cuts, byte flips, repeated and dropped tags, junk) must
// neither crash nor hang, and must give a grid that holds every item.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "collect/web/html_items.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/page_layout.h"
#include "tests/collect/page_pages.h"

namespace {

std::vector<std::string> Seeds() {
    return {testsupport::PricePage(""),
            testsupport::ToCp932Bytes(testsupport::PricePage("")),
            "<table><tr><td>L</td><td><table><tr><td>n1<br></td><td rowspan=2>n2</td></tr><tr><td>n3</td></tr>"
            "</table></td></tr></table><ul><li>a<li>b</ul><p>c<img alt=\"d\"><input><a href='x'>e</a>",
            "<!-- c --><script>x<y</script><style>p{}</style>&#12354;&lt;&amp;<a href=\"q\" x>z</a>"};
}

std::string Mutate(const std::string& seed, std::mt19937& random) {
    std::string page = seed;
    const auto pick = [&](std::size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    const int edits = 1 + static_cast<int>(pick(8));
    for (int e = 0; e < edits; ++e) {
        const std::size_t at = pick(page.size() + 1);
        switch (pick(6)) {
            case 0: page.resize(at); break;  // the page cut anywhere
            case 1:
                if (!page.empty()) page[pick(page.size())] = static_cast<char>(pick(256));
                break;
            case 2: {  // a tag repeated many times
                const std::size_t open = page.find('<', at);
                const std::size_t close = open == std::string::npos ? open : page.find('>', open);
                if (close != std::string::npos) {
                    const std::string tag = page.substr(open, close - open + 1);
                    std::string repeated;
                    for (std::size_t n = pick(200); n > 0; --n) repeated += tag;
                    page.insert(close + 1, repeated);
                }
                break;
            }
            case 3: {  // a tag dropped
                const std::size_t open = page.find('<', at);
                const std::size_t close = open == std::string::npos ? open : page.find('>', open);
                if (close != std::string::npos) page.erase(open, close - open + 1);
                break;
            }
            case 4: page.insert(at, pick(2) == 0 ? "<" : "&#"); break;
            default: {
                std::string junk;
                for (std::size_t n = pick(64); n > 0; --n) junk.push_back(static_cast<char>(pick(256)));
                page.insert(at, junk);
            }
        }
    }
    return page;
}

TEST(HtmlRobustness, MutatedPagesAreLaidOutInsideTheirGrid) {
    collect::BuildHtmlTagTable();
    const std::vector<std::string> seeds = Seeds();
    std::mt19937 random(20240601);
    for (int round = 0; round < 4000; ++round) {
        const std::string page = Mutate(seeds[static_cast<std::size_t>(round) % seeds.size()], random);
        collect::HtmlItems items = collect::SplitHtmlItems(page);
        collect::ResolveTagAttributes(items);
        std::int32_t cols = 0;
        std::int32_t rows = 0;
        collect::LayoutHtmlItems(items, cols, rows);
        collect::PageCellTable text;
        collect::PageCellTable link;
        collect::FillPageCellTables(items, cols, rows, text, link);
        ASSERT_GE(cols, 1) << round;
        ASSERT_GE(rows, 1) << round;
        for (const collect::HtmlItem& item : items) {
            if (item.IsTag && item.IsClose && item.Flags().TableTag) continue;
            ASSERT_TRUE(text.Contains(item.Row, item.Col)) << "round " << round << ": " << items.Str(item);
        }
    }
}

// Deep nesting is walked without recursion.
TEST(HtmlRobustness, DeeplyNestedCellsAndTables) {
    collect::BuildHtmlTagTable();
    std::string page;
    for (int n = 0; n < 50000; ++n) page += "<table><tr><td>x";
    collect::HtmlItems items = collect::SplitHtmlItems(page);
    collect::ResolveTagAttributes(items);
    std::int32_t cols = 0;
    std::int32_t rows = 0;
    collect::LayoutHtmlItems(items, cols, rows);
    EXPECT_EQ(cols, 1);
    EXPECT_EQ(rows, 1);
}

}  // namespace
