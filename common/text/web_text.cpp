#include "common/text/web_text.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "common/text/text_compare.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace common {
namespace {

std::string Trim(std::string_view text) { return platform::TrimBlanks(text); }

bool IsBlank(std::string_view text) { return Trim(text).empty(); }

std::string Replaced(std::string_view text, std::string_view oldText, std::string_view newText) {
    std::string out(text);
    ReplaceInPlace(out, oldText, newText);
    return out;
}

std::string Removed(std::string_view text, std::string_view removed) { return Replaced(text, removed, ""); }

std::vector<std::string> SplitOn(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = text.find(separator, start);
        if (found == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, found - start));
        start = found + separator.size();
    }
}

std::string NumberText(std::string_view text, bool zeroWhenNot) {
    const std::string trimmed = Trim(text);
    if (platform::IsNumericText(trimmed)) return Removed(trimmed, ",");
    return zeroWhenNot ? std::string("0") : trimmed;
}

}  // namespace

bool ContainsText(std::string_view text, std::string_view searched, long& position) {
    position = static_cast<long>(FindText(text, searched));
    return position > 0;
}

bool ContainsText(std::string_view text, std::string_view searched) { return FindText(text, searched) > 0; }

void ReplaceInPlace(std::string& text, std::string_view oldText, std::string_view newText) {
    if (oldText.empty()) return;
    std::size_t found = text.find(oldText);
    if (found == std::string::npos) return;
    // Built aside: oldText and newText may point into text.
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    while (found != std::string::npos) {
        out.append(text, start, found - start);
        out.append(newText);
        start = found + oldText.size();
        found = text.find(oldText, start);
    }
    out.append(text, start, std::string::npos);
    text = std::move(out);
}

std::string CleanField(bool strip, std::string_view text, std::string_view noValueMarker,
                       std::string_view replacement, std::string_view extra) {
    if (text == noValueMarker) return std::string(replacement);
    std::string out(text);
    if (strip) {
        for (std::string_view removed : {",", "(", ")", "（", "）"}) {
            ReplaceInPlace(out, removed, "");
        }
    }
    if (!extra.empty()) ReplaceInPlace(out, extra, "");
    return Trim(out);
}

void SplitNonEmpty(std::string_view text, std::string_view separator, long& count,
                   std::vector<std::string>& items) {
    std::vector<std::string> kept;
    const std::string trimmed = Trim(text);
    if (!trimmed.empty()) {
        for (std::string& piece : SplitOn(trimmed, separator)) {
            if (!IsBlank(piece)) kept.push_back(std::move(piece));
        }
    }
    count = static_cast<long>(kept.size());
    items = std::move(kept);
}

void CleanAndSplit(bool strip, long mode, long limit, std::string_view text, std::string_view separator,
                   std::string_view extra, long& count, std::vector<std::string>& items) {
    const std::string cleaned = CleanField(strip, text, "", "", extra);
    long pieceCount = 0;
    std::vector<std::string> pieces;
    SplitNonEmpty(cleaned, separator, pieceCount, pieces);
    const std::size_t keep = limit < 1 ? 0 : std::min(pieces.size(), static_cast<std::size_t>(limit));
    const std::size_t first = (mode == 1 && pieces.size() > keep) ? pieces.size() - keep : 0;
    std::vector<std::string> kept(std::make_move_iterator(pieces.begin() + static_cast<std::ptrdiff_t>(first)),
                                  std::make_move_iterator(pieces.begin() + static_cast<std::ptrdiff_t>(first + keep)));
    count = static_cast<long>(kept.size());
    items = std::move(kept);
}

void SplitPair(bool strip, std::string_view text, std::string_view noValueMarker, std::string_view default1,
               std::string_view default2, std::string_view separator, std::string_view removed,
               std::string& value1, std::string& value2) {
    std::string first(default1);
    std::string second(default2);
    const std::string cleaned = CleanField(strip, text, "", "", "");
    if (!IsBlank(cleaned) && cleaned != noValueMarker) {
        long count = 0;
        std::vector<std::string> pieces;
        SplitNonEmpty(cleaned, separator, count, pieces);
        if (count >= 1) first = pieces[0];
        if (count >= 2) second = Removed(pieces[1], removed);
    }
    value1 = std::move(first);
    value2 = std::move(second);
}

std::string TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker) {
    const TextSpan start = FindTextSpan(text, startMarker);
    if (start.position == 0) return std::string(text);
    std::string rest = Trim(platform::MidChars(text, start.position + start.length));
    const std::size_t end = FindText(rest, endMarker);
    if (end > 0) rest = Trim(platform::LeftChars(rest, end - 1));
    return rest;
}

void NumericOrZero(std::string& text) {
    // assign(1, '0'), not = "0": GCC 12 warns falsely (-Wrestrict) on the latter.
    if (!platform::IsNumericText(Trim(text))) text.assign(1, '0');
}

std::string NumberTextOrZero(std::string_view text) { return NumberText(text, true); }

std::string NumberTextOrSame(std::string_view text) { return NumberText(text, false); }

void SplitTimesPair(std::string_view sideCode, std::string_view text, ThreeTexts& out) {
    std::string a = "0";
    std::string b = "0";
    if (!ContainsText(Trim(text), "N/A")) {
        SplitPair(true, text, "N/A", "0", "0", "x", "", a, b);
        a = Trim(a);
        b = Trim(b);
    }
    const bool buySide = sideCode == "B";
    ThreeTexts result;
    result.middle = std::move(a);
    (buySide ? result.third : result.first) = std::move(b);
    out = std::move(result);
}

void SplitRangePair(std::string_view text, std::string& low, std::string& high) {
    std::string a = "0";
    std::string b = "0";
    if (!TextEquals(Trim(text), "N/A")) {
        std::string work = Removed(text, ",");
        ReplaceInPlace(work, "N/A", "0");
        SplitPair(true, work, "", "0", "0", "-", "", a, b);
        a = Trim(a);
        b = Trim(b);
    }
    low = std::move(a);
    high = std::move(b);
}

}  // namespace common
