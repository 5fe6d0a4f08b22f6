#pragma once
// An HTML text laid out into the page cell tables as a fetch lays out a page.
#include <string>

#include "collect/web/html_tag_table.h"
#include "collect/web/page_fetch.h"

namespace collect_test {

struct LaidOutPage {
    collect::FetchRec fetch;
    collect::PageCellTable text;
    collect::PageCellTable links;
};

inline LaidOutPage LayOutPage(const std::string& html) {
    collect::BuildHtmlTagTable();
    LaidOutPage page;
    collect::ParsePage(html, page.fetch, page.text, page.links);
    return page;
}

}  // namespace collect_test
