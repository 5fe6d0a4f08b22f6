#include "platform/date_parse.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/utf8_text.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// `word` holds ASCII letters only, whose lower case is the same code with bit 5 set.
bool SameWord(std::string_view word, std::string_view lowerName) {
    if (word.size() != lowerName.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if ((word[i] | 0x20) != lowerName[i]) return false;
    }
    return true;
}

// Reads the pieces of one form from left to right; every read fails (returns
// nullopt or false) unless the next characters are what it asks for.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ == text_.size(); }

    // A run of digits of `minDigits`..`maxDigits`; a longer run fails.
    std::optional<int> Number(std::size_t minDigits, std::size_t maxDigits) {
        const std::string_view digits = Run(IsDigit);
        if (digits.size() < minDigits || digits.size() > maxDigits) return std::nullopt;
        int value = 0;
        for (char c : digits) value = value * 10 + (c - '0');
        return value;
    }

    std::optional<int> FullYear() { return Number(4, 4); }

    // Two digits or four, with two-digit years put in 1930..2029.
    std::optional<int> ShortOrFullYear() {
        const std::size_t start = pos_;
        const std::optional<int> year = Number(2, 4);
        if (!year || pos_ - start == 3) return std::nullopt;
        if (pos_ - start == 4) return year;
        return *year + (*year < 30 ? 2000 : 1900);
    }

    std::optional<int> MonthOrDay() { return Number(1, 2); }

    std::optional<int> MonthName() {
        static constexpr std::array<std::string_view, 12> kNames = {
            "january", "february", "march",     "april",   "may",      "june",
            "july",    "august",   "september", "october", "november", "december"};
        const std::string_view word = Run(IsLetter);
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            if (SameWord(word, kNames[i]) || SameWord(word, kNames[i].substr(0, 3))) {
                return static_cast<int>(i) + 1;
            }
        }
        return std::nullopt;
    }

    bool Text(std::string_view expected) {
        if (text_.substr(pos_, expected.size()) != expected) return false;
        pos_ += expected.size();
        return true;
    }

    bool Blanks() { return !Run(IsBlank).empty(); }

    std::optional<std::tuple<int, int, int>> Time() {
        const std::optional<int> hour = Number(1, 2);
        if (!hour || !Text(":")) return std::nullopt;
        const std::optional<int> minute = Number(2, 2);
        if (!minute) return std::nullopt;
        std::optional<int> second = 0;
        if (Text(":")) second = Number(2, 2);
        if (!second || *hour > 23 || *minute > 59 || *second > 59) return std::nullopt;
        return std::tuple{*hour, *minute, *second};
    }

private:
    std::string_view Run(bool (*accepts)(char)) {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && accepts(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

// The accepted forms, read token by token: Y four-digit year, y two- or
// four-digit year, m month number, M month name, d day, t time, ' ' one or
// more blanks; any other character stands for itself.
constexpr std::string_view kForms[] = {
    "Y/m/d", "Y/m/d t", "Y-m-d", "Y-m-d t", "Y年m月d日", "Y年m月", "d-M-y", "M-d-y", "M d, y", "d M y",
};

bool Store(std::optional<int> value, int& into) {
    if (value) into = *value;
    return value.has_value();
}

// The date written in `form`, day 1 when the form has none; not yet checked
// to exist.
std::optional<Date> ReadForm(std::string_view form, std::string_view text) {
    Scanner in(text);
    Date date{0, 0, 1};
    for (const char token : form) {
        bool read = false;
        switch (token) {
            case 'Y': read = Store(in.FullYear(), date.year); break;
            case 'y': read = Store(in.ShortOrFullYear(), date.year); break;
            case 'm': read = Store(in.MonthOrDay(), date.month); break;
            case 'M': read = Store(in.MonthName(), date.month); break;
            case 'd': read = Store(in.MonthOrDay(), date.day); break;
            case 't': read = in.Time().has_value(); break;
            case ' ': read = in.Blanks(); break;
            default: read = in.Text(std::string_view(&token, 1)); break;
        }
        if (!read) return std::nullopt;
    }
    if (!in.AtEnd()) return std::nullopt;
    return date;
}

}  // namespace

bool ParseDateInto(std::string_view text, Date& date) {
    // Series files hold millions of dates, nearly all "yyyy/mm/dd": read in
    // place; any other text takes the forms one by one.
    const auto digit = [&](std::size_t i) { return IsDigit(text[i]) ? text[i] - '0' : -1; };
    if (text.size() == 10 && text[4] == '/' && text[7] == '/') {
        const int digits[] = {digit(0), digit(1), digit(2), digit(3), digit(5), digit(6), digit(8), digit(9)};
        if (std::ranges::none_of(digits, [](int d) { return d < 0; })) {
            const int year = ((digits[0] * 10 + digits[1]) * 10 + digits[2]) * 10 + digits[3];
            const int month = digits[4] * 10 + digits[5];
            const int day = digits[6] * 10 + digits[7];
            if (!IsValidDate(year, month, day)) return false;
            date = {year, month, day};
            return true;
        }
    }
    const std::string trimmed = TrimBlanks(text);
    for (const std::string_view form : kForms) {
        const std::optional<Date> read = ReadForm(form, trimmed);
        if (read && IsValidDate(read->year, read->month, read->day)) {
            date = *read;
            return true;
        }
    }
    return false;
}

std::optional<Date> ParseDate(std::string_view text) {
    Date date;
    if (!ParseDateInto(text, date)) return std::nullopt;
    return date;
}

std::optional<std::tuple<int, int, int>> ParseTimeText(std::string_view text) {
    const std::string trimmed = TrimBlanks(text);
    Scanner in(trimmed);
    std::optional<std::tuple<int, int, int>> time = in.Time();
    if (!in.AtEnd()) return std::nullopt;
    return time;
}

}  // namespace platform
