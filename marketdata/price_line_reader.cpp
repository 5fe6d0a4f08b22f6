#include "marketdata/price_line_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/byte_words.h"
#include "platform/cp932.h"

namespace marketdata {

namespace {

using platform::kByteOnes;

// Blanks only, as a trimmed line would be empty.
bool IsBlankLine(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

// Sets the last column and the count. The columns past it are emptied only
// as far as the line before filled them.
void EndLine(std::string_view lastColumn, std::size_t count, PriceLine& line) {
    const std::size_t filledBefore = std::min(line.columnCount, kPriceTextColumns);
    if (count < kPriceTextColumns) line.columns[count] = lastColumn;
    line.columnCount = ++count;
    for (; count < filledBefore; ++count) line.columns[count] = {};
}

unsigned DigitValue(char c) { return static_cast<unsigned>(c - '0'); }

// Reads the digits from `p` on into `value`; the position after them. Where
// eight bytes remain they are looked at in one word: the first that is no
// digit ends the number, and the digits before it are combined in pairs,
// fours and eights, so a number costs no branch per digit. Past nineteen
// digits `value` has wrapped: the caller takes no number that long.
const char* ReadDigits(const char* p, const char* end, std::uint64_t& value) {
    value = 0;
    if (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        const std::uint64_t digits = word ^ (kByteOnes * '0');  // a digit byte holds its value
        // The high bit of each byte above 9; a carry out of such a byte may
        // spoil the ones after it, but only the first counts.
        const std::uint64_t above9 = ((digits + kByteOnes * 0x76) | digits) & (kByteOnes * 0x80);
        const int count = above9 == 0 ? 8 : std::countr_zero(above9) / 8;
        if (count == 0) return p;
        // The first digit is the lowest byte: shifted up, the bytes below read as leading zeros.
        std::uint64_t v = digits << (8 * (8 - count));
        v = v * 10 + (v >> 8);
        constexpr std::uint64_t kPairs = 0x000000FF000000FFULL;
        v = ((v & kPairs) * (100 + (1000000ULL << 32)) + ((v >> 16) & kPairs) * (1 + (10000ULL << 32))) >> 32;
        value = static_cast<std::uint32_t>(v);
        p += count;
        if (count < 8) return p;
    }
    for (; p != end && DigitValue(*p) <= 9; ++p) value = value * 10 + DigitValue(*p);
    return p;
}

}  // namespace

void SplitPriceColumns(std::string_view text, PriceLine& line) {
    std::size_t count = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\t') continue;
        if (count < kPriceTextColumns) line.columns[count] = text.substr(start, i - start);
        ++count;
        start = i + 1;
    }
    EndLine(text.substr(start), count, line);
}

bool PriceLineReader::Next(PriceLine& line) {
    const char* const fileEnd = bytes_.data() + bytes_.size();
    while (pos_ < bytes_.size()) {
        // One pass over the line finds its end, its columns and whether it is
        // all ASCII, eight bytes at a time where eight remain.
        const char* const begin = bytes_.data() + pos_;
        const char* columnStart = begin;
        std::size_t count = 0;
        std::uint64_t seen = 0;
        const auto columnEnd = [&](const char* tab) {
            if (count < kPriceTextColumns) line.columns[count] = std::string_view(columnStart, tab);
            ++count;
            columnStart = tab + 1;
        };
        const char* p = begin;
        const char* lf = nullptr;
        for (; lf == nullptr && fileEnd - p >= 8; p += 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            std::uint64_t marks = platform::BytesEqualTo(word, '\t') | platform::BytesEqualTo(word, '\n');
            std::uint64_t before = word;  // the bytes of this line
            for (; marks != 0; marks &= marks - 1) {
                const int at = std::countr_zero(marks) / 8;
                if (p[at] == '\t') {
                    columnEnd(p + at);
                    continue;
                }
                lf = p + at;
                before = at == 0 ? 0 : word & (~std::uint64_t{0} >> (64 - 8 * at));
                break;
            }
            seen |= before;
        }
        if (lf == nullptr) {
            for (; p != fileEnd && *p != '\n'; ++p) {
                seen |= static_cast<unsigned char>(*p);
                if (*p == '\t') columnEnd(p);
            }
            lf = p;
        }
        pos_ = static_cast<std::size_t>(lf - bytes_.data()) + 1;
        ++number_;
        const char* lineEnd = lf;
        if (lineEnd != begin && lineEnd[-1] == '\r') --lineEnd;
        std::string_view text(begin, lineEnd);
        if (seen & (kByteOnes * 0x80)) {
            platform::DecodeResult decoded = platform::FromCp932(text);
            unreadable_ += decoded.invalid;
            decoded_ = std::move(decoded.text);
            text = decoded_;
            // The scan above filled `count` columns with views of the raw bytes.
            line.columnCount = std::max(line.columnCount, count);
            SplitPriceColumns(text, line);
        } else {
            EndLine(std::string_view(columnStart, lineEnd), count, line);
        }
        const char first = text.empty() ? ' ' : text.front();
        if (IsBlankLine(std::string_view(&first, 1)) && IsBlankLine(text)) continue;
        line.number = number_;
        return true;
    }
    return false;
}

bool PriceLineReader::NextPlainRow(PlainSeriesRow& row) {
    const char* p = bytes_.data() + pos_;
    const char* const end = bytes_.data() + bytes_.size();
    // The date and the TAB after it.
    if (end - p < 11 || p[4] != '/' || p[7] != '/' || p[10] != '\t') return false;
    for (const int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (DigitValue(p[i]) > 9) return false;
    }
    const int year = static_cast<int>(((DigitValue(p[0]) * 10 + DigitValue(p[1])) * 10 + DigitValue(p[2])) * 10 +
                                      DigitValue(p[3]));
    const int month = static_cast<int>(DigitValue(p[5]) * 10 + DigitValue(p[6]));
    const int day = static_cast<int>(DigitValue(p[8]) * 10 + DigitValue(p[9]));
    if (!platform::IsValidDate(year, month, day)) return false;
    p += 11;

    // Six plain amounts, each ended by a TAB but the sixth, which may end the line.
    std::array<platform::Currency, 6> values;
    for (std::size_t c = 0; c < values.size(); ++c) {
        const char* const first = p;
        std::uint64_t whole = 0;
        p = ReadDigits(p, end, whole);
        if (p == first || static_cast<std::size_t>(p - first) > PlainSeriesRow::kPlainChars) return false;
        auto raw = static_cast<std::int64_t>(whole);
        std::size_t decimals = 0;
        if (p != end && *p == '.') {
            for (++p; p != end && DigitValue(*p) <= 9; ++p, ++decimals) {
                if (decimals == platform::Currency::kDecimals) return false;  // to be rounded
                raw = raw * 10 + DigitValue(*p);
            }
        }
        if (static_cast<std::size_t>(p - first) > PlainSeriesRow::kPlainChars) return false;
        static constexpr std::int64_t kShortOf[] = {10000, 1000, 100, 10, 1};  // per decimal given
        values[c] = platform::Currency::FromRaw(raw * kShortOf[decimals]);
        if (p != end && *p == '\t') {
            if (c + 1 < values.size()) ++p;
        } else if (c + 1 < values.size()) {
            return false;
        }
    }

    // The line's end: a lone LF or CR LF, or the end of the bytes; further
    // columns are counted and must be ASCII, as a line to decode goes to Next.
    std::size_t columns = 7;
    if (p != end && *p == '\t') {
        std::uint64_t seen = 0;
        for (; p != end && *p != '\n'; ++p) {
            seen |= static_cast<unsigned char>(*p);
            columns += *p == '\t';
        }
        if (seen & 0x80) return false;
    } else if (p != end && *p == '\r') {
        if (p + 1 != end && p[1] != '\n') return false;
        ++p;
    } else if (p != end && *p != '\n') {
        return false;
    }
    pos_ = p == end ? bytes_.size() : static_cast<std::size_t>(p - bytes_.data()) + 1;
    row.date = {year, month, day};
    row.values = values;
    row.columnCount = columns;
    row.number = ++number_;
    return true;
}

}  // namespace marketdata
