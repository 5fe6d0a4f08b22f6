#pragma once
// An HTML text laid out into the page cell tables as a fetch lays out a page.
#include <string>

#include "collect/html_items.h"
#include "collect/html_tag_table.h"
#include "collect/page_fetch.h"
#include "collect/page_layout.h"

namespace collect_test {

struct LaidOutPage {
    collect::FetchRec fetch;
    collect::PageCellTable text;
    collect::PageCellTable links;
};

inline LaidOutPage LayOutPage(const std::string& html) {
    collect::BuildHtmlTagTable();
    collect::HtmlItems items = collect::SplitHtmlItems(html);
    collect::ResolveTagAttributes(items);
    LaidOutPage page;
    collect::LayoutHtmlItems(items, page.fetch.ColCount, page.fetch.RowCount);
    collect::FillPageCellTables(items, page.fetch.ColCount, page.fetch.RowCount, page.text, page.links);
    return page;
}

}  // namespace collect_test
