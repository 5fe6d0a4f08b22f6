#include "collect/html_items.h"

#include <algorithm>

#include "common/logs.h"
#include "common/web_text.h"
#include "platform/utf8_text.h"

namespace collect {
namespace {

// The name of a tag starts after "<" or "</"; slashes and backslashes before
// it are skipped, as long as the name would still start within the first ten
// characters.
constexpr std::int32_t kLastNamePosition = 10;

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// Line ends become blanks and tabs go, so that a tag or a text spans no line.
std::string FlattenLines(std::string_view text) {
    std::string flat;
    flat.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            flat.push_back(' ');
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            flat.push_back(' ');
        } else if (c != '\t') {
            flat.push_back(c);
        }
    }
    return flat;
}

void ReplaceEntities(std::string& text) {
    if (text.find('&') == std::string::npos) return;
    common::ReplaceInPlace(text, "&nbsp;", " ");
    common::ReplaceInPlace(text, "&gt;", ">");
    common::ReplaceInPlace(text, "&lt;", "<");
    common::ReplaceInPlace(text, "&copy;", "(C)");
    common::ReplaceInPlace(text, "&amp;", "&");
}

void MakeText(HtmlItem& item, std::string text) {
    item.Str = text;
    item.LowerStr = std::move(text);
    item.Attr.clear();
    item.IsTag = false;
    item.Keep = true;
}

}  // namespace

void CWHTMU11(HtmlItem& item) {
    std::int32_t pos = item.IsClose ? 3 : 2;
    const auto length = static_cast<std::int32_t>(item.Str.size());
    while (pos <= kLastNamePosition && pos <= length && (item.Str[pos - 1] == '/' || item.Str[pos - 1] == '\\')) {
        ++pos;
    }
    item.NameStart = pos;
    if (pos <= kLastNamePosition && pos <= length) {
        item.LetterCode = static_cast<unsigned char>(item.LowerStr[pos - 1]);
        item.TagIdx = MatchTagRow(item.LowerStr, static_cast<std::size_t>(pos - 1));
    }
    if (item.TagIdx == 0) {
        common::WriteInfoLog(common::LogSwitch(10), "CWHTMU11", common::log_tag::kAdmin, "00",
                             "Ｔａｇ判定不能　=「" + item.Str + "」");
        return;
    }
    const HtmlTagDef& row = TagTable().Row(item.TagIdx);
    item.NameEnd = pos + row.NameLen - 1;
    item.flags = row.flags;
}

HtmlItem ClassifyHtmlItem(std::string_view piece) {
    HtmlItem item;
    item.Str = piece;
    item.LowerStr = LowerAscii(piece);
    item.IsTag = !piece.empty() && piece[0] == '<';
    if (item.IsTag) {
        item.IsClose = piece.size() > 1 && piece[1] == '/';
        CWHTMU11(item);
    }
    item.Keep = !platform::TrimBlanks(piece).empty();
    return item;
}

HtmlItems SplitHtmlItems(std::string_view pageText) {
    const std::string flat = FlattenLines(pageText);
    const std::string_view text = flat;
    HtmlItems items;
    // At most two pieces per tag, plus the text after the last one.
    items.reserve(2 * static_cast<std::size_t>(std::count(text.begin(), text.end(), '<')) + 1);
    const auto add = [&](std::size_t from, std::size_t to) {
        if (to <= from) return;
        HtmlItem item = ClassifyHtmlItem(text.substr(from, to - from));
        if (!item.IsTag) ReplaceEntities(item.Str);
        items.push_back(std::move(item));
    };
    std::size_t start = 0;
    for (std::size_t i = text.find_first_of("<>"); i != std::string_view::npos; i = text.find_first_of("<>", i + 1)) {
        if (text[i] == '<') {
            add(start, i);
            start = i;
        } else {
            add(start, i + 1);
            start = i + 1;
        }
    }
    add(start, text.size());
    return items;
}

std::string ExtractHrefValue(const HtmlItem& item) {
    const std::size_t at = item.LowerStr.find("href=");
    if (at == std::string::npos) return "";
    const std::string_view rest = std::string_view(item.Str).substr(at + 5);
    std::size_t end = rest.find(' ');
    if (end == std::string_view::npos) end = rest.find('>');
    for (const char* lineEnd : {"\r\n", "\r", "\n", "\t"}) {
        if (end == std::string_view::npos) end = rest.find(lineEnd);
    }
    return end == std::string_view::npos ? "" : std::string(rest.substr(0, end));
}

std::string ExtractAltValue(const HtmlItem& item) {
    const std::size_t at = item.LowerStr.find("alt=\"");
    if (at == std::string::npos) return "";
    const std::size_t start = at + 5;
    const std::size_t end = item.Str.find('"', start);
    return end == std::string::npos ? "" : item.Str.substr(start, end - start);
}

void ResolveTagAttributes(HtmlItems& items) {
    std::vector<bool> dropped(items.size(), false);
    for (std::size_t i = 0; i < items.size(); ++i) {
        HtmlItem& item = items[i];
        if (!item.IsTag || item.TagIdx == 0) continue;
        const HtmlTagFlags& flags = item.flags;
        if (flags.DropElement && !item.IsClose) {
            // Everything up to the element's closing tag goes; without one, the rest of the page.
            std::size_t j = i + 1;
            while (j < items.size() && !(items[j].IsClose && items[j].TagIdx == item.TagIdx)) ++j;
            const std::size_t last = std::min(j, items.size() - 1);
            std::fill(dropped.begin() + static_cast<std::ptrdiff_t>(i), dropped.begin() + static_cast<std::ptrdiff_t>(last) + 1,
                      true);
            i = last;
        } else if (flags.DropElement || flags.DropTag) {
            // A closing tag of a dropped element that is not open is dropped alone.
            dropped[i] = true;
        } else {
            if (flags.HrefValue) {
                item.Attr = ExtractHrefValue(item);
                std::erase(item.Attr, '"');
            }
            if (flags.KeepName) {
                const auto end = static_cast<std::size_t>(item.NameEnd);
                item.Str = item.Str.substr(0, end) + ">";
                item.LowerStr = item.LowerStr.substr(0, end) + ">";
            } else if (flags.AltText) {
                std::string alt = ExtractAltValue(item);
                if (alt.empty()) {
                    dropped[i] = true;
                } else {
                    MakeText(item, std::move(alt));
                }
            } else if (flags.InputCell) {
                MakeText(item, "");
            }
        }
    }
    std::size_t index = 0;
    std::erase_if(items, [&](const HtmlItem&) { return dropped[index++]; });
}

}  // namespace collect
