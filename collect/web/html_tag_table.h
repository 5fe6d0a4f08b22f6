#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace collect {

// What the tokenizer does with a tag, and what the layout makes of it.
struct HtmlTagFlags {
    bool DropElement = false;  // the tag and everything up to its closing tag go
    bool DropTag = false;      // the tag item goes
    bool KeepName = false;     // reduced to "<" or "</", its name and ">"
    bool AltText = false;      // its alt text becomes a text item
    bool HrefValue = false;    // its href value becomes the item's link
    bool InputCell = false;    // becomes an empty text item
    bool LayoutTag = false;    // moves the layout
    bool TableTag = false;     // table structure for the layout
};

// One row of the tag table.
struct HtmlTagDef {
    std::string Name;
    std::string OpenForm;
    std::string CloseForm;  // empty for the tags that have none
    std::string FirstLetter;
    std::int32_t LetterCode = 0;
    std::int32_t NameLen = 0;
    HtmlTagFlags flags;
    std::int32_t RowNo = 0;
};

// Rows of one first letter: count, first and last row (0 when none).
struct LetterRows {
    std::int32_t count = 0;
    std::int32_t first = 0;
    std::int32_t last = 0;
};

// The 77 known tags in their search order, numbered from 1, with the index by
// first letter (codes 1 to 256) and the rows the layout asks about.
struct HtmlTagTable {
    std::vector<HtmlTagDef> rows;  // rows[0] is row 1
    std::array<LetterRows, 257> FirstLetterIndex{};
    std::int32_t td = 0, th = 0, tr = 0, table = 0, br = 0, p = 0, li = 0;

    const HtmlTagDef& Row(std::int32_t rowNo) const { return rows[static_cast<std::size_t>(rowNo - 1)]; }
};

// The process-wide tag table, empty until BuildHtmlTagTable.
HtmlTagTable& TagTable();

// Clears the fetch layer's state (ClearWebWork), then loads the table, its
// index and the layout rows. Every collector calls it at its start.
void BuildHtmlTagTable();

// `c`, an ASCII capital letter in lower case: tag and attribute names are
// compared in any letter case.
constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// True when `rest` begins with a character that ends a tag name: CR, LF,
// tab, blank, ">", "-" or a double quote ("/" does not).
bool IsNameDelimiter(std::string_view rest);

// The first row, in table order, whose name stands at byte `pos` of `text`,
// in any letter case, and is followed by a name delimiter; 0 when none.
std::int32_t MatchTagRow(std::string_view text, std::size_t pos);

// The row of a name followed by a delimiter ("td "); 0, logged, when none.
std::int32_t CWHTMU12(std::string_view name);

}  // namespace collect
