#include "collect/web/html_tag_table.h"

#include <algorithm>

#include "collect/web/page_fetch.h"
#include "common/logs/logs.h"
#include "common/run_state.h"

namespace collect {
namespace {

struct TagSpec {
    const char* name;
    const char* flags;  // letters: E drop element, D drop tag, K keep name, A alt text,
                        // H href, I input cell, L layout, T table structure
};

// The search order: a longer name before a shorter one with the same start.
constexpr TagSpec kTags[] = {
    {"!-", "D"},      {"!!-", "D"},     {"!doctype", "D"}, {"address", ""},   {"applet", "A"},  {"area", "DAH"},
    {"a", "KH"},      {"blockquote", ""}, {"basefont", ""}, {"base", "KH"},   {"body", "K"},    {"big", "D"},
    {"br", "KL"},     {"b", "D"},       {"caption", ""},   {"center", "D"},   {"cite", ""},     {"code", ""},
    {"div", "D"},     {"dd", ""},       {"dl", ""},        {"dt", ""},        {"embed", "K"},   {"em", ""},
    {"frameset", ""}, {"frame", ""},    {"font", "D"},     {"form", "DK"},    {"head", "E"},    {"html", "K"},
    {"hn", ""},       {"hr", "D"},      {"isindex", ""},   {"iframe", "D"},   {"ilayer", "D"},  {"input", "I"},
    {"img", "A"},     {"i", "D"},       {"kbd", ""},       {"link", "DH"},    {"li", "KL"},     {"marquee", "D"},
    {"meta", "D"},    {"map", "E"},     {"nobr", "D"},     {"noscript", "E"}, {"noframe", ""},  {"nolayer", "D"},
    {"option", "D"},  {"object", "E"},  {"ol", ""},        {"param", ""},     {"pre", "D"},     {"p", "L"},
    {"script", "E"},  {"select", "E"},  {"strike", "D"},   {"strong", "D"},   {"spacer", "D"},  {"small", "D"},
    {"style", "E"},   {"samp", ""},     {"span", "D"},     {"sub", "D"},      {"sup", "D"},     {"s", "D"},
    {"tbody", "K"},   {"textarea", "D"}, {"table", "KLT"}, {"title", "K"},    {"td", "KLT"},    {"th", "KLT"},
    {"tr", "KLT"},    {"tt", "D"},      {"ul", "D"},       {"u", "D"},        {"var", ""},
};
static_assert(std::size(kTags) == 77);

// True when `text` is the lower-case `name` in any letter case.
bool MatchesIgnoringCase(std::string_view text, std::string_view name) {
    return std::equal(text.begin(), text.end(), name.begin(), name.end(),
                      [](char t, char n) { return LowerAscii(t) == n; });
}

constexpr std::string_view kNoCloseForm[] = {"!-", "!!-", "!doctype", "area", "basefont", "br", "hr", "input", "img"};

HtmlTagDef MakeRow(const TagSpec& spec, std::int32_t rowNo) {
    const std::string_view flags = spec.flags;
    const auto has = [&](char letter) { return flags.find(letter) != std::string_view::npos; };
    HtmlTagDef row;
    row.Name = spec.name;
    row.OpenForm = "<" + row.Name;
    const bool noClose = std::find(std::begin(kNoCloseForm), std::end(kNoCloseForm), row.Name) != std::end(kNoCloseForm);
    row.CloseForm = noClose ? "" : "</" + row.Name;
    row.FirstLetter = row.Name.substr(0, 1);
    row.LetterCode = static_cast<unsigned char>(row.Name[0]);
    row.NameLen = static_cast<std::int32_t>(row.Name.size());
    row.flags = {has('E'), has('D'), has('K'), has('A'), has('H'), has('I'), has('L'), has('T')};
    row.RowNo = rowNo;
    return row;
}

}  // namespace

HtmlTagTable& TagTable() {
    static HtmlTagTable table;
    return table;
}

void BuildHtmlTagTable() {
    ClearWebWork();
    HtmlTagTable& table = TagTable();
    for (const TagSpec& spec : kTags) {
        table.rows.push_back(MakeRow(spec, static_cast<std::int32_t>(table.rows.size()) + 1));
    }
    for (const HtmlTagDef& row : table.rows) {
        LetterRows& letter = table.FirstLetterIndex[static_cast<std::size_t>(row.LetterCode)];
        if (letter.count++ == 0) letter.first = row.RowNo;
        letter.last = row.RowNo;
    }
    table.td = CWHTMU12("td ");
    table.th = CWHTMU12("th ");
    table.tr = CWHTMU12("tr ");
    table.table = CWHTMU12("table ");
    table.br = CWHTMU12("br ");
    table.p = CWHTMU12("p ");
    table.li = CWHTMU12("li ");
}

bool IsNameDelimiter(std::string_view rest) {
    if (rest.empty()) return false;
    const char c = rest[0];
    return c == '\r' || c == '\n' || c == '\t' || c == ' ' || c == '>' || c == '-' || c == '"';
}

std::int32_t MatchTagRow(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return 0;
    const HtmlTagTable& table = TagTable();
    const LetterRows& letter = table.FirstLetterIndex[static_cast<unsigned char>(LowerAscii(text[pos]))];
    if (letter.count == 0) return 0;
    for (std::int32_t rowNo = letter.first; rowNo <= letter.last; ++rowNo) {
        const std::string& name = table.Row(rowNo).Name;
        if (pos + name.size() < text.size() && MatchesIgnoringCase(text.substr(pos, name.size()), name) &&
            IsNameDelimiter(text.substr(pos + name.size()))) {
            return rowNo;
        }
    }
    return 0;
}

std::int32_t CWHTMU12(std::string_view name) {
    const std::int32_t row = MatchTagRow(name, 0);
    if (row == 0) {
        common::WriteInfoLog(common::LogSwitch(10), "CWHTMU12", common::log_tag::kAdmin, "00",
                             "Ｔａｇ判定不能　=「" + std::string(name) + "」");
    }
    return row;
}

}  // namespace collect
