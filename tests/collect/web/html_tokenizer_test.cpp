// The tokenizer: every tag treatment of the tag table on small pages.
#include <gtest/gtest.h>
#include <malloc.h>

#include <ostream>
#include <string>
#include <utility>

#include "collect/web/html_items.h"
#include "collect/web/html_tag_table.h"
#include "common/run_state.h"

namespace {

// Items as "text" pieces and <tags>, a link value in [brackets], joined by "|".
std::string Render(const collect::HtmlItems& items) {
    std::string out;
    for (const collect::HtmlItem& item : items) {
        if (!out.empty()) out += "|";
        const std::string str(items.Str(item));
        out += item.IsTag ? str : "'" + str + "'";
        const std::string attr = items.Attr(item);
        if (!attr.empty()) out += "[" + attr + "]";
    }
    return out;
}

std::string Tokenize(const std::string& page) {
    collect::HtmlItems items = collect::SplitHtmlItems(page);
    collect::ResolveTagAttributes(items);
    return Render(items);
}

struct TokenCase {
    const char* name;
    const char* page;
    const char* items;
};

void PrintTo(const TokenCase& c, std::ostream* os) { *os << c.name; }

class Tokenizer : public ::testing::TestWithParam<TokenCase> {
protected:
    static void SetUpTestSuite() { collect::BuildHtmlTagTable(); }
};

TEST_P(Tokenizer, GivesTheItemsOfTheTreatment) { EXPECT_EQ(Tokenize(GetParam().page), GetParam().items); }

const TokenCase kTokenCases[] = {
    {"TableTagInCapitalsLosesItsAttributes", "<TABLE border=1>", "<TABLE>"},
    {"ClosingCellWithBlankBeforeBracket", "</td >", "</td>"},
    {"BreakWithSlashAfterNameIsUnlisted", "<br/>", "<br/>"},
    {"BreakWithBlankBeforeSlash", "<br />", "<br>"},
    {"AnchorKeepsItsHref", "<a href=\"next.html\" class=\"x\">次へ</a>", "<a>[next.html]|'次へ'|</a>"},
    {"AnchorWithoutQuotes", "<A HREF=list.cgi?p=2>x</A>", "<A>[list.cgi?p=2]|'x'|</A>"},
    {"AnchorWithSingleQuotesKeepsThem", "<a href='y.html'>", "<a>['y.html']"},
    {"ImageAltBecomesText", "<img src=\"a.gif\" alt=\"上昇\">", "'上昇'"},
    {"ImageWithoutAltGoes", "<img src=\"a.gif\">", ""},
    {"InputBecomesEmptyText", "<input type=\"text\" value=\"1\">", "''"},
    {"ScriptGoesWithItsContent", "a<script>if (x < 1) { y = \"<b>\"; }</script>b", "'a'|'b'"},
    {"StyleWithoutCloseTakesTheRest", "a<style>p {}<table><tr>", "'a'"},
    {"HeadGoes", "<html><head><title>t</title></head><body>x", "<html>|<body>|'x'"},
    {"StrayClosingScriptGoesAlone", "a</script>b", "'a'|'b'"},
    {"FormattingTagsGo", "<td><b><font color=red>売買単位</font></b></td>", "<td>|'売買単位'|</td>"},
    {"FormGoesDespiteKeepName", "<form action=\"x\">f</form>", "'f'"},
    {"ParagraphKeepsItsText", "<p class=\"x\">t</p>", "<p class=\"x\">|'t'|</p>"},
    {"UnlistedTagStaysInert", "<h1>T</h1>", "<h1>|'T'|</h1>"},
    {"CommentEndsAtFirstBracket", "<!-- a > b -->c", "' b -->'|'c'"},
    {"EntitiesReplacedAfterTheCut", "&lt;b&gt;&nbsp;&amp;&copy;", "'<b> &(C)'"},
    {"NumericReferenceStaysForTheCell", "&#12354;", "'&#12354;'"},
    {"LineEndsBecomeBlanksTabsGo", "a\r\nb\rc\nd\te", "'a b c de'"},
    {"BlankTextIsNotKeptButStays", "<td> </td>", "<td>|' '|</td>"},
    {"UnclosedTagAtEnd", "x<td", "'x'|<td"},
    {"StrayOpeningBracket", "a < b", "'a '|< b"},
    {"AnchorCutByTheNextTag", "<a href=x y<td>", "<a>[x]|<td>"},
    {"TextAfterABareAnchorIsNoLink", "<a>href=y</a>", "<a>|'href=y'|</a>"},
    {"AnchorAtTheEndOfThePage", "x<a href=\"z\" ", "'x'|<a>[z]"},
    {"EachEntityIsReplacedOnce", "&amp;lt;&amp;amp;", "'&lt;&amp;'"},
};

INSTANTIATE_TEST_SUITE_P(Cases, Tokenizer, ::testing::ValuesIn(kTokenCases),
                         [](const ::testing::TestParamInfo<TokenCase>& info) { return std::string(info.param.name); });

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The items point into the page's text, which they take over: a page of
// price rows, with a tag or a text every six bytes, holds a few times its
// own size in items.
TEST(TokenizerMemory, ItemsHoldAFewTimesThePage) {
    collect::BuildHtmlTagTable();
    std::string page = "<table>";
    while (page.size() < (1 << 20)) {
        page += "<tr align=right><td><small>2005年3月9日</small></td><td>4,120</td><td>4,150</td><td>4,080</td>"
                "<td><b>4,130</b></td><td>5,312,300</td><td>4,130</td></tr>\n";
    }
    const std::size_t pageBytes = page.size();
    const std::size_t before = HeapInUse();
    collect::HtmlItems items = collect::SplitHtmlItems(std::move(page));
    collect::ResolveTagAttributes(items);
    EXPECT_LT(HeapInUse() - before, 5 * pageBytes);
}

TEST(TagTable, HoldsTheRowsAndTheirIndex) {
    collect::BuildHtmlTagTable();
    const collect::HtmlTagTable& table = collect::TagTable();
    ASSERT_EQ(table.rows.size(), 77u);
    EXPECT_EQ(table.Row(table.td).Name, "td");
    EXPECT_EQ(table.Row(table.li).Name, "li");
    const collect::LetterRows& s = table.FirstLetterIndex['s'];
    EXPECT_EQ(s.count, 12);
    EXPECT_EQ(table.Row(s.first).Name, "script");
    EXPECT_EQ(table.Row(s.last).Name, "s");
    EXPECT_EQ(table.Row(collect::CWHTMU12("img ")).CloseForm, "");
    EXPECT_EQ(table.Row(collect::CWHTMU12("table ")).CloseForm, "</table");
    EXPECT_EQ(collect::CWHTMU12("h1 "), 0);
}

TEST(TagTable, BlankItemIsKeptOnlyWhenNotBlank) {
    collect::BuildHtmlTagTable();
    EXPECT_FALSE(collect::ClassifyHtmlItem("  ").Keep);
    EXPECT_TRUE(collect::ClassifyHtmlItem("&nbsp;").Keep);
    const collect::HtmlItem slashes = collect::ClassifyHtmlItem("<//////////>");
    EXPECT_TRUE(slashes.IsTag);
    EXPECT_EQ(slashes.TagIdx, 0);
}

}  // namespace
