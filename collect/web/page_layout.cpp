#include "collect/web/page_layout.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "common/logs/logs.h"
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

bool IsOpeningTableTag(const HtmlItem& item) { return item.IsTag && !item.IsClose && item.Flags().TableTag; }

bool IsClosingCell(const HtmlItem& item, const HtmlTagTable& tags) {
    return item.IsTag && item.IsClose && (item.TagIdx == tags.td || item.TagIdx == tags.th);
}

void LogMismatch(const HtmlItems& items, const HtmlItem& item, std::size_t position, std::int32_t enclosingRow,
                 std::int32_t depth) {
    if (!common::LogSwitch(10)) return;
    const std::string at = "  HA(" + std::to_string(position) + ")";
    common::WriteInfoLog(true, "CWHTM401", common::log_tag::kAdmin, "00",
                         "ｈｔｌｍソースのＴａｇ不整合  " + at + ".Str=" + std::string(items.Str(item)) + at +
                             ".TagIdx=" + std::to_string(item.TagIdx) + "  HS.TagIdx=" + std::to_string(enclosingRow) +
                             at + ".Class=" + std::to_string(item.Class) + "  PubClass=" + std::to_string(depth));
}

// Sorts `indices` by `key` (1 to `keys`), stably, in time linear in both.
template <class Key>
void SortByKey(std::vector<std::uint32_t>& indices, std::int32_t keys, Key key) {
    std::vector<std::uint32_t> starts(static_cast<std::size_t>(keys) + 2, 0);
    for (const std::uint32_t i : indices) ++starts[static_cast<std::size_t>(key(i)) + 1];
    for (std::size_t k = 1; k < starts.size(); ++k) starts[k] += starts[k - 1];
    std::vector<std::uint32_t> sorted(indices.size());
    for (const std::uint32_t i : indices) sorted[starts[static_cast<std::size_t>(key(i))]++] = i;
    indices = std::move(sorted);
}

// The walk behind LayoutHtmlItems.
void CWHTM401(HtmlItems& items, std::int32_t& colCount, std::int32_t& rowCount) {
    const HtmlTagTable& tags = TagTable();
    // A deque, as a page of nothing but opening tags nests millions deep:
    // it grows without moving what it holds.
    std::deque<Level> levels(1);
    for (std::size_t i = 0; i < items.size(); ++i) {
        HtmlItem& item = items[i];
        Level& level = levels.back();
        const HtmlTagFlags& flags = item.Flags();
        const bool layoutTag = item.IsTag && flags.LayoutTag;
        // Every table row starts at the left edge of its table.
        if (layoutTag && !item.IsClose && item.TagIdx == tags.tr) level.col = level.startCol;
        const auto depth = static_cast<std::int32_t>(levels.size() - 1);
        item.Col = level.col;
        item.Row = level.row;
        item.Class = depth;
        if (!item.IsClose) level.maxCol = std::max(level.maxCol, level.col);
        level.maxRow = std::max(level.maxRow, level.row);
        if (!(item.IsTag && item.IsClose && flags.TableTag)) {
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
        } else if (!flags.TableTag) {
            continue;
        } else if (!item.IsClose) {
            levels.push_back({item.TagIdx, item.Col, item.Col, item.Row, item.Col, item.Row});
        } else if (item.TagIdx != level.tagRow) {
            LogMismatch(items, item, i + 1, level.tagRow, depth);
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
    // The items that fill a cell, sorted by row and column and in page order
    // within a cell, so that every cell is appended to the tables in order.
    const auto fills = [&](const HtmlItem& item) {
        return pageText.Contains(item.Row, item.Col) && (item.IsTag ? item.AttributesAfter : item.Keep);
    };
    std::vector<std::uint32_t> filling;
    filling.reserve(static_cast<std::size_t>(std::count_if(items.begin(), items.end(), fills)));
    bool sorted = true;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const HtmlItem& item = items[i];
        if (!fills(item)) continue;
        if (!filling.empty()) {
            const HtmlItem& last = items[filling.back()];
            sorted = sorted && (last.Row < item.Row || (last.Row == item.Row && last.Col <= item.Col));
        }
        filling.push_back(static_cast<std::uint32_t>(i));
    }
    if (!sorted) {
        SortByKey(filling, colCount, [&](std::uint32_t i) { return items[i].Col; });
        SortByKey(filling, rowCount, [&](std::uint32_t i) { return items[i].Row; });
    }
    for (const std::uint32_t i : filling) {
        const HtmlItem& item = items[i];
        if (!item.IsTag) {
            const std::string_view text = items.Str(item);
            if (text.find("&#") == std::string_view::npos) {
                pageText.Append(item.Row, item.Col, text);
            } else {
                pageText.Append(item.Row, item.Col, DecodeNumericRefs(text));
            }
        } else if (const std::string link = items.Attr(item); !platform::TrimBlanks(link).empty()) {
            pageLink.Append(item.Row, item.Col, link);
        }
    }
}

std::string DecodeNumericRefs(std::string_view text) { return platform::DecodeNumericReferences(text, false); }

}  // namespace collect
