#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "collect/web/html_tag_table.h"

namespace collect {

// One item of a page: a tag or a piece of text. It holds no text of its own:
// its Str lies in the text of its item list (HtmlItems::Str), or, for an
// item classified alone, in the piece it was made from. Positions are 1-based
// byte positions in Str (tag names are ASCII). Small, as a large page has
// millions of items.
struct HtmlItem {
    std::uint32_t Start = 0;   // where Str starts, 0-based
    std::uint32_t Length = 0;  // bytes of Str
    std::int32_t Col = 0;
    std::int32_t Row = 0;
    std::int32_t Class = 0;
    std::int32_t TagIdx : 8 = 0;  // row of the tag table; 0 for text and unlisted tags
    std::int32_t NameStart : 5 = 0;
    std::int32_t NameEnd : 6 = 0;
    std::int32_t LetterCode : 9 = 0;
    bool IsTag : 1 = false;
    bool IsClose : 1 = false;
    bool Keep : 1 = false;  // takes part in the page cell tables
    // The tag was reduced to its name and its attributes still follow its
    // ">" in the list's text, where its link value is read.
    bool AttributesAfter : 1 = false;

    // The treatment flags of the item's tag row; all clear for text and unlisted tags.
    const HtmlTagFlags& Flags() const;
};
static_assert(sizeof(HtmlItem) == 24);

// The items of one page in page order, with the page's text they lie in.
// Tags that the treatment reduces, and texts whose entities it replaces, are
// rewritten in that text, which only ever shrinks them.
class HtmlItems {
public:
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    HtmlItem& operator[](std::size_t i) { return items_[i]; }
    const HtmlItem& operator[](std::size_t i) const { return items_[i]; }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    std::string_view Str(const HtmlItem& item) const { return std::string_view(text_).substr(item.Start, item.Length); }
    // The link value of an anchor or base tag (href, double quotes removed),
    // once the treatment has applied; "" for every other item.
    std::string Attr(const HtmlItem& item) const;

private:
    friend HtmlItems SplitHtmlItems(std::string pageText, std::size_t room);
    friend void ResolveTagAttributes(HtmlItems& items);

    std::string text_;
    std::vector<HtmlItem> items_;
};

// Cuts the page text into tags and texts in page order: line ends become
// blanks, tabs go, a tag runs from "<" to the first ">" (or to the next "<"
// or the end of the text when none comes first). The entities &nbsp; &gt;
// &lt; &copy; &amp; of texts are replaced after the cut, so they never form a
// tag. The text is taken over by the items; a page beyond 4 GiB is cut there.
HtmlItems SplitHtmlItems(std::string pageText);

// The number of items SplitHtmlItems cuts the text into, or a few more when
// line ends and tabs stand alone between tags.
std::size_t CountHtmlItems(std::string_view pageText);

// SplitHtmlItems with room for `room` items: the text's CountHtmlItems,
// when the caller has counted them already.
HtmlItems SplitHtmlItems(std::string pageText, std::size_t room);

// The most items a fetched page may have: with its layout and cell tables,
// a page of this many items holds up to about 900 MB, however it is made.
// A page of the fetch's largest size needs it only when it is made of tiny
// tags and texts.
constexpr std::size_t kMaxHtmlItems = std::size_t{1} << 24;

// One piece as an item, its tag looked up (CWHTMU11); Str is the whole piece.
HtmlItem ClassifyHtmlItem(std::string_view piece);

// Looks up the tag of the tag item whose text is `str` in the tag table,
// comparing the name in any letter case; an unlisted tag stays inert with
// TagIdx 0 and is logged.
void CWHTMU11(std::string_view str, HtmlItem& item);

// Applies the tag treatments and removes the dropped items.
void ResolveTagAttributes(HtmlItems& items);

// The href value of a tag's text ("" when none), double quotes kept.
std::string_view ExtractHrefValue(std::string_view tag);
// The double-quoted alt text of a tag's text ("" when none).
std::string_view ExtractAltValue(std::string_view tag);

}  // namespace collect
