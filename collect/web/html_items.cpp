#include "collect/web/html_items.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "common/logs/logs.h"

namespace collect {
namespace {

// The name of a tag starts after "<" or "</"; slashes and backslashes before
// it are skipped, as long as the name would still start within the first ten
// characters.
constexpr std::int32_t kLastNamePosition = 10;

constexpr std::string_view kBlanks = " \t\r\n";

// The first occurrence of the lower-case `word` in `text`, in any letter case.
std::size_t FindIgnoringCase(std::string_view text, std::string_view word) {
    if (word.size() > text.size()) return std::string_view::npos;
    for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
        std::size_t n = 0;
        while (n < word.size() && LowerAscii(text[at + n]) == word[n]) ++n;
        if (n == word.size()) return at;
    }
    return std::string_view::npos;
}

// Line ends become blanks and tabs go, so that a tag or a text spans no
// line; in place, as the text only shrinks.
void FlattenLines(std::string& text) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            text[out++] = ' ';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            text[out++] = ' ';
        } else if (c != '\t') {
            text[out++] = c;
        }
    }
    text.resize(out);
}

// Replaces every `from` in text[start, start + length) by the shorter `to`,
// left to right, and shrinks `length` to match.
void ReplaceShorter(std::string& text, std::uint32_t start, std::uint32_t& length, std::string_view from,
                    std::string_view to) {
    char* const base = text.data() + start;
    const std::string_view piece(base, length);
    std::size_t found = piece.find(from);
    if (found == std::string_view::npos) return;
    std::size_t read = 0;
    std::size_t write = 0;
    while (found != std::string_view::npos) {
        std::memmove(base + write, base + read, found - read);
        write += found - read;
        std::memcpy(base + write, to.data(), to.size());
        write += to.size();
        read = found + from.size();
        found = piece.find(from, read);
    }
    std::memmove(base + write, base + read, length - read);
    length = static_cast<std::uint32_t>(write + length - read);
}

void ReplaceEntities(std::string& text, HtmlItem& item) {
    if (std::memchr(text.data() + item.Start, '&', item.Length) == nullptr) return;
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kEntities{{
        {"&nbsp;", " "}, {"&gt;", ">"}, {"&lt;", "<"}, {"&copy;", "(C)"}, {"&amp;", "&"},
    }};
    for (const auto& [from, to] : kEntities) ReplaceShorter(text, item.Start, item.Length, from, to);
}

HtmlItem Classify(std::string_view text, std::size_t start, std::size_t length) {
    const std::string_view piece = text.substr(start, length);
    HtmlItem item;
    item.Start = static_cast<std::uint32_t>(start);
    item.Length = static_cast<std::uint32_t>(length);
    item.IsTag = !piece.empty() && piece[0] == '<';
    if (item.IsTag) {
        item.IsClose = piece.size() > 1 && piece[1] == '/';
        CWHTMU11(piece, item);
    }
    item.Keep = piece.find_first_not_of(kBlanks) != std::string_view::npos;
    return item;
}

// Calls `piece(from, to)` for every piece of the text in page order: a cut
// before every "<" and after every ">", empty pieces left out.
template <class Piece>
void CutPieces(std::string_view text, Piece&& piece) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    // The next "<" and ">", each found with one library search that only moves forward.
    const auto next = [&](const char* from, char c) {
        const void* found = from < end ? std::memchr(from, c, static_cast<std::size_t>(end - from)) : nullptr;
        return found != nullptr ? static_cast<const char*>(found) : end;
    };
    const char* open = next(begin, '<');
    const char* close = next(begin, '>');
    const char* start = begin;
    while (open != end || close != end) {
        const char* cut = open;
        if (close < open) {
            cut = close + 1;
            close = next(cut, '>');
        } else {
            open = next(open + 1, '<');
        }
        if (cut > start) piece(static_cast<std::size_t>(start - begin), static_cast<std::size_t>(cut - begin));
        start = cut;
    }
    if (end > start) piece(static_cast<std::size_t>(start - begin), text.size());
}

void MakeText(HtmlItem& item, std::size_t start, std::size_t length) {
    item.Start = static_cast<std::uint32_t>(start);
    item.Length = static_cast<std::uint32_t>(length);
    item.IsTag = false;
    item.Keep = true;
}

}  // namespace

const HtmlTagFlags& HtmlItem::Flags() const {
    static const HtmlTagFlags kNone;
    return TagIdx == 0 ? kNone : TagTable().Row(TagIdx).flags;
}

std::string HtmlItems::Attr(const HtmlItem& item) const {
    if (!item.IsTag || !item.AttributesAfter || !item.Flags().HrefValue) return "";
    // The tag ran on from its ">" to the first "<" or ">" after it, or to the end.
    const std::size_t from = item.Start + item.Length;
    const std::size_t end = text_.find_first_of("<>", from);
    const std::size_t stop = end == std::string::npos ? text_.size() : end + (text_[end] == '>' ? 1 : 0);
    std::string value(ExtractHrefValue(std::string_view(text_).substr(item.Start, stop - item.Start)));
    std::erase(value, '"');
    return value;
}

void CWHTMU11(std::string_view str, HtmlItem& item) {
    std::int32_t pos = item.IsClose ? 3 : 2;
    const auto length = static_cast<std::int32_t>(str.size());
    while (pos <= kLastNamePosition && pos <= length && (str[pos - 1] == '/' || str[pos - 1] == '\\')) ++pos;
    item.NameStart = pos;
    std::int32_t row = 0;
    if (pos <= kLastNamePosition && pos <= length) {
        item.LetterCode = static_cast<unsigned char>(LowerAscii(str[pos - 1]));
        row = MatchTagRow(str, static_cast<std::size_t>(pos - 1));
    }
    item.TagIdx = row;
    if (row == 0) {
        if (common::LogSwitch(10)) {
            common::WriteInfoLog(true, "CWHTMU11", common::log_tag::kAdmin, "00",
                                 "Ｔａｇ判定不能　=「" + std::string(str) + "」");
        }
        return;
    }
    item.NameEnd = pos + TagTable().Row(row).NameLen - 1;
}

std::size_t CountHtmlItems(std::string_view pageText) {
    std::size_t count = 0;
    CutPieces(pageText, [&](std::size_t, std::size_t) { ++count; });
    return count;
}

HtmlItem ClassifyHtmlItem(std::string_view piece) { return Classify(piece, 0, piece.size()); }

HtmlItems SplitHtmlItems(std::string pageText) {
    // Counted first, so that the list takes the room it needs and hardly more.
    const std::size_t room = CountHtmlItems(pageText);
    return SplitHtmlItems(std::move(pageText), room);
}

HtmlItems SplitHtmlItems(std::string pageText, std::size_t room) {
    HtmlItems items;
    std::string& text = items.text_;
    text = std::move(pageText);
    FlattenLines(text);
    // Positions are 32 bits wide: far beyond any page the fetch accepts.
    if (text.size() > std::numeric_limits<std::uint32_t>::max()) text.resize(std::numeric_limits<std::uint32_t>::max());
    items.items_.reserve(room);
    CutPieces(text, [&](std::size_t from, std::size_t to) {
        HtmlItem& item = items.items_.emplace_back(Classify(text, from, to - from));
        if (!item.IsTag) ReplaceEntities(text, item);
    });
    return items;
}

std::string_view ExtractHrefValue(std::string_view tag) {
    const std::size_t at = FindIgnoringCase(tag, "href=");
    if (at == std::string_view::npos) return {};
    const std::string_view rest = tag.substr(at + 5);
    std::size_t end = rest.find(' ');
    if (end == std::string_view::npos) end = rest.find('>');
    for (const char* lineEnd : {"\r\n", "\r", "\n", "\t"}) {
        if (end == std::string_view::npos) end = rest.find(lineEnd);
    }
    return end == std::string_view::npos ? std::string_view() : rest.substr(0, end);
}

std::string_view ExtractAltValue(std::string_view tag) {
    const std::size_t at = FindIgnoringCase(tag, "alt=\"");
    if (at == std::string_view::npos) return {};
    const std::size_t start = at + 5;
    const std::size_t end = tag.find('"', start);
    return end == std::string_view::npos ? std::string_view() : tag.substr(start, end - start);
}

void ResolveTagAttributes(HtmlItems& list) {
    std::string& text = list.text_;
    std::vector<HtmlItem>& items = list.items_;
    std::vector<bool> dropped(items.size(), false);
    for (std::size_t i = 0; i < items.size(); ++i) {
        HtmlItem& item = items[i];
        if (!item.IsTag || item.TagIdx == 0) continue;
        const HtmlTagFlags& flags = item.Flags();
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
        } else if (flags.KeepName) {
            // The name is followed by its delimiter, which gives way to ">";
            // the link value is read from the attributes behind it when asked for.
            item.AttributesAfter = item.Length > static_cast<std::uint32_t>(item.NameEnd + 1);
            text[item.Start + item.NameEnd] = '>';
            item.Length = item.NameEnd + 1;
        } else if (flags.AltText) {
            const std::string_view tag = list.Str(item);
            const std::string_view alt = ExtractAltValue(tag);
            if (alt.empty()) {
                dropped[i] = true;
            } else {
                MakeText(item, item.Start + static_cast<std::size_t>(alt.data() - tag.data()), alt.size());
            }
        } else if (flags.InputCell) {
            MakeText(item, item.Start, 0);
        }
    }
    std::size_t index = 0;
    std::erase_if(items, [&](const HtmlItem&) { return dropped[index++]; });
}

}  // namespace collect
