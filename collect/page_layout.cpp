#include "collect/page_layout.h"

#include <algorithm>
#include <vector>

#include "common/logs.h"
#include "platform/page_charset.h"
#include "platform/utf8_text.h"

namespace collect {
namespace {

// One open level of the walk: the top of the page, or a table-structure
// element whose closing tag has not come yet.
struct Level {
    std::int32_t tagRow = 0;  // 0 for the top level
    std::int32_t startCol = 1;
    std::int32_t col = 1;
    std::int32_t row = 1;
    std::int32_t maxCol = 1;  // largest column of the element's items that are not closing tags
    std::int32_t maxRow = 1;  // largest row of the element's items
};

bool IsOpeningTableTag(const HtmlItem& item) { return item.IsTag && !item.IsClose && item.flags.TableTag; }

bool IsClosingCell(const HtmlItem& item, const HtmlTagTable& tags) {
    return item.IsTag && item.IsClose && (item.TagIdx == tags.td || item.TagIdx == tags.th);
}

void LogMismatch(const HtmlItem& item, std::size_t position, std::int32_t enclosingRow, std::int32_t depth) {
    const std::string at = "  HA(" + std::to_string(position) + ")";
    common::WriteInfoLog(common::LogSwitch(10), "CWHTM401", common::log_tag::kAdmin, "00",
                         "ｈｔｌｍソースのＴａｇ不整合  " + at + ".Str=" + item.Str + at +
                             ".TagIdx=" + std::to_string(item.TagIdx) + "  HS.TagIdx=" + std::to_string(enclosingRow) +
                             at + ".Class=" + std::to_string(item.Class) + "  PubClass=" + std::to_string(depth));
}

// The walk behind LayoutHtmlItems.
void CWHTM401(HtmlItems& items, std::int32_t& colCount, std::int32_t& rowCount) {
    const HtmlTagTable& tags = TagTable();
    std::vector<Level> levels(1);
    for (std::size_t i = 0; i < items.size(); ++i) {
        HtmlItem& item = items[i];
        Level& level = levels.back();
        const bool layoutTag = item.IsTag && item.flags.LayoutTag;
        // Every table row starts at the left edge of its table.
        if (layoutTag && !item.IsClose && item.TagIdx == tags.tr) level.col = level.startCol;
        const auto depth = static_cast<std::int32_t>(levels.size() - 1);
        item.Col = level.col;
        item.Row = level.row;
        item.Class = depth;
        if (!item.IsClose) level.maxCol = std::max(level.maxCol, level.col);
        level.maxRow = std::max(level.maxRow, level.row);
        if (!(item.IsTag && item.IsClose && item.flags.TableTag)) {
            colCount = std::max(colCount, item.Col);
            rowCount = std::max(rowCount, item.Row);
        }
        if (!layoutTag) continue;

        if (item.TagIdx == tags.br) {
            // A break at the end of a cell or of the page adds no line.
            if (i + 1 < items.size() && !IsClosingCell(items[i + 1], tags)) ++level.row;
        } else if (item.TagIdx == tags.p) {
            ++level.row;
        } else if (item.TagIdx == tags.li) {
            if (i == 0 || !IsOpeningTableTag(items[i - 1])) ++level.row;
        } else if (!item.flags.TableTag) {
            continue;
        } else if (!item.IsClose) {
            levels.push_back({item.TagIdx, item.Col, item.Col, item.Row, item.Col, item.Row});
        } else if (item.TagIdx != level.tagRow) {
            LogMismatch(item, i + 1, level.tagRow, depth);
        } else {
            const Level element = level;
            levels.pop_back();
            Level& outer = levels.back();
            outer.maxCol = std::max(outer.maxCol, element.maxCol);
            outer.maxRow = std::max(outer.maxRow, element.maxRow);
            if (element.tagRow == tags.td || element.tagRow == tags.th) {
                // The next cell starts right of everything this one used, nested tables included.
                outer.col = std::max(element.maxCol, outer.col) + 1;
            } else if (element.tagRow == tags.tr) {
                outer.row = element.maxRow + 1;
            } else {
                outer.row = element.maxRow;
            }
        }
    }
}

}  // namespace

void LayoutHtmlItems(HtmlItems& items, std::int32_t& colCount, std::int32_t& rowCount) {
    colCount = 1;
    rowCount = 1;
    CWHTM401(items, colCount, rowCount);
}

void FillPageCellTables(const HtmlItems& items, std::int32_t colCount, std::int32_t rowCount,
                        PageCellTable& pageText, PageCellTable& pageLink) {
    pageText.Reset(rowCount, colCount);
    pageLink.Reset(rowCount, colCount);
    for (const HtmlItem& item : items) {
        if (item.Keep && !item.IsTag) pageText.Append(item.Row, item.Col, DecodeNumericRefs(item.Str));
        if (!platform::TrimBlanks(item.Attr).empty()) pageLink.Append(item.Row, item.Col, item.Attr);
    }
}

std::string DecodeNumericRefs(std::string_view text) { return platform::DecodeNumericReferences(text, false); }

}  // namespace collect
