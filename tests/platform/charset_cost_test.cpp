// The charset step on hostile pages: meta tags without end and a page that
// its declared charset refuses at nearly every byte cost time linear in the
// page, text that code page 932 cannot hold converts nearly as fast as text
// it can, and the meta tag search keeps its rules while it reads the page
// once.
#include <gtest/gtest.h>

#include <string>

#include "platform/cp932.h"
#include "platform/page_charset.h"
#include "tests/support/cost_growth.h"

namespace {

std::string Repeated(const std::string& head, const std::string& unit, std::size_t bytes) {
    std::string text = head;
    while (text.size() < bytes) text += unit;
    return text;
}

TEST(PageCharset, MetaTagSearchReadsEachTagUpToItsEnd) {
    struct Case {
        const char* name;
        std::string page;
        const char* charset;
    };
    const Case cases[] = {
        {"FirstTagThatNamesOne", "<meta name=a><META CHARSET=EUC-JP><meta charset=utf-8>", "euc-jp"},
        {"TagWithoutEndReadsOnToThePageEnd", "<meta name=a <p x charset=euc-jp", "euc-jp"},
        {"CharsetAfterTheTagIsNotItsOwn", "<meta name=a><p>charset=euc-jp</p>", "utf-8"},
        {"CharsetAfterTheTagBelongsToALaterTag", "<meta name=a><p>charset=euc-jp</p><meta charset=cp932>", "cp932"},
        {"TagsWithoutEndShareTheLaterCharset", Repeated("", "<meta", 500) + " charset=euc-jp", "euc-jp"},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::PageToCp932(c.page, "").charset, c.charset) << c.name;
}

TEST(CharsetCost, MetaTagsWithoutEndAreReadOnce) {
    const double growth = testsupport::FourfoldGrowth(512 << 10, [](std::size_t bytes) -> testsupport::CostRun {
        return [page = Repeated("<html><head>", "<meta", bytes)] { (void)platform::PageToCp932(page, ""); };
    });
    EXPECT_LT(growth, testsupport::kLinearGrowthLimit);
}

TEST(CharsetCost, PageRefusedAtNearlyEveryByte) {
    const double growth = testsupport::FourfoldGrowth(512 << 10, [](std::size_t bytes) -> testsupport::CostRun {
        return [page = Repeated("<p>", "株価の時系列データ。", bytes)] {
            (void)platform::PageToCp932(page, "text/html; charset=Shift_JIS");
        };
    });
    EXPECT_LT(growth, testsupport::kLinearGrowthLimit);
}

// A character that code page 932 cannot hold (as most of a Chinese page) costs
// a few times one it can, not the thousand times of a conversion that reads
// far ahead of each refusal.
TEST(CharsetCost, TextThatCodePage932CannotHold) {
    const std::string refused = Repeated("a", "\xF0\x9F\x98\x80", 256 << 10);
    const std::string held = Repeated("a", "株価", 256 << 10);
    const double ratio = testsupport::CostRatio([&] { (void)platform::ToCp932(refused); },
                                                [&] { (void)platform::ToCp932(held); });
    EXPECT_LT(ratio, 50);
}

}  // namespace
