#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "collect/html_tag_table.h"

namespace collect {

// One item of a page: a tag or a piece of text. Positions are 1-based byte
// positions in Str (tag names are ASCII).
struct HtmlItem {
    std::string Str;
    std::string LowerStr;  // Str with ASCII letters in lower case, same length
    bool IsTag = false;
    bool IsClose = false;
    std::int32_t NameStart = 0;
    std::int32_t NameEnd = 0;
    std::int32_t LetterCode = 0;
    std::int32_t TagIdx = 0;  // row of the tag table; 0 for text and unlisted tags
    HtmlTagFlags flags;
    bool Keep = false;  // takes part in the page cell tables
    std::string Attr;   // the link value
    std::int32_t Class = 0;
    std::int32_t Col = 0;
    std::int32_t Row = 0;
};

using HtmlItems = std::vector<HtmlItem>;

// Cuts the page text into tags and texts in page order: line ends become
// blanks, tabs go, a tag runs from "<" to the first ">" (or to the next "<"
// or the end of the text when none comes first). The entities &nbsp; &gt;
// &lt; &copy; &amp; of texts are replaced after the cut, so they never form a tag.
HtmlItems SplitHtmlItems(std::string_view pageText);

// One piece as an item, its tag looked up (CWHTMU11).
HtmlItem ClassifyHtmlItem(std::string_view piece);

// Looks up the tag of a tag item in the tag table and copies the row's flags;
// an unlisted tag stays inert with TagIdx 0 and is logged.
void CWHTMU11(HtmlItem& item);

// Applies the tag treatments and removes the dropped items.
void ResolveTagAttributes(HtmlItems& items);

// The href value of a tag ("" when none), double quotes kept.
std::string ExtractHrefValue(const HtmlItem& item);
// The double-quoted alt text of a tag ("" when none).
std::string ExtractAltValue(const HtmlItem& item);

}  // namespace collect
