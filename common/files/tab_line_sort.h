#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/logs/progress.h"

namespace common {

inline constexpr long kMaxKeyFields = 20;

// Sort keys of a line array: key fields 1..KeyCount, each a 1-based character
// position (a code point of the UTF-8 line) and a length in characters.
// Element 0 of both arrays is not used. The first field ranks first.
struct SortKeyRec {
    long KeyCount = 0;
    std::array<long, kMaxKeyFields + 1> KeyStart{};
    std::array<long, kMaxKeyFields + 1> KeyLength{};
};

// A key count above kMaxKeyFields raises error 9 (subscript out of range).
void CheckKeyCount(long keyCount, const char* source);

// Builds the key text of lines: the key fields concatenated in field order;
// a field that reaches past the end of the line gives the characters that
// exist (possibly none). Keys compare ordinally, code point by code point,
// a prefix first: the plain byte order of the UTF-8 texts.
class LineKeyMaker {
public:
    // Checks the layout once: a key count above 20 raises error 9, a key
    // field starting before position 1 or of negative length error 5.
    LineKeyMaker(const SortKeyRec& keys, const char* source);

    std::string KeyOf(std::string_view line) const;

private:
    struct Field {
        std::size_t from;  // index into bounds_ of the field's first character
        std::size_t to;    // index into bounds_ of the character after it
    };
    std::vector<Field> fields_;
    std::vector<std::size_t> bounds_;  // 0-based character positions, ascending, distinct
};

// Sorts the lines by the keys; equal keys keep their input order. Nothing is
// sorted when the layout is refused.
void SortLinesByKeys(std::vector<std::string>& lines, const SortKeyRec& keys);

// The same, reporting three stages of progress (building the keys, sorting,
// putting the lines in order) through ShowStagedProgress. A record without
// stages (StageCount 0 or less) is given three; otherwise the caller's
// stages go on counting.
void SortLinesByKeysWithProgress(MSGRec& msg, std::vector<std::string>& lines, const SortKeyRec& keys);

}  // namespace common
