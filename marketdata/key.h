#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class RecordWriter;
class RecordReader;
}  // namespace platform

namespace marketdata {

// The identity head of every master and list record: sixteen fixed-width
// fields, each exactly its width in characters (blank-padded on the right,
// cut at the width).
struct Key {
    std::string Market;       // 3
    std::string Code1;        // 4
    std::string Category;     // 4
    std::string IndCode0020;  // 4
    std::string IndCode0030;  // 4
    std::string IndCode0040;  // 4
    std::string IndCode0050;  // 4
    std::string IndCode0060;  // 4
    std::string IndCode0070;  // 4
    std::string IndCode0080;  // 4
    std::string IndCode0090;  // 4
    std::string CorpCode;     // 20
    std::string Flag1;        // 1
    std::string Flag2;        // 1
    std::string UpdateDate;   // 10, "yyyy/mm/dd"
    std::string UpdateTime;   // 8, "hh:mm:ss"
};

inline constexpr long kKeyFieldCount = 16;
inline constexpr std::size_t kKeyLineLength = 98;     // 83 characters of fields and 15 TABs
inline constexpr std::size_t kKeyIdentityLength = 27;  // Market & Category & CorpCode
inline constexpr std::size_t kKeyRecordLength = 83;    // the sixteen fields back to back in a record file

// Exactly `width` characters of `value`: padded with blanks, or cut at the
// width. A cut is written to the run log, naming `fieldName` and the value.
std::string FitField(std::string_view value, std::size_t width, std::string_view fieldName);

// Market, Code1, Category and IndCode0020 from the four values, every other
// field blank.
void InitKey(std::string_view market, std::string_view code1, std::string_view category,
             std::string_view indCode0020, Key& key);

// The key line: the sixteen fields at full width joined by one TAB each, their
// control characters written as blanks (platform/field_text.h).
void KeyToLine(const Key& key, std::string& line);

// The pieces of a line split on TAB (views into `line`).
std::vector<std::string_view> SplitTabs(std::string_view line);

// The pieces as a 1-based array: piece k becomes element k + 1, element 0
// stays empty. Readers start such an array at position 1.
std::vector<std::string_view> FieldsToArray(std::span<const std::string_view> pieces);

// The field at `position` (an index into `fields`), moving the position on by
// one. A position past the last field raises error 9 (subscript out of range).
std::string_view NextField(std::span<const std::string_view> fields, long& position);

// Reads sixteen successive fields from `position` into the Key, each fitted
// to its width, and moves the position on by 16. Serves both the 1-based
// array (position 1) and the plain split result (position 0).
void KeyFromFields(std::span<const std::string_view> fields, long& position, Key& key);

// Raises error 9 (subscript out of range), as reaching past the end of an
// array does.
[[noreturn]] void RaiseSubscriptOutOfRange(const std::string& source);

// The Key as the head of a binary record: the sixteen fields at full width,
// back to back (kKeyRecordLength bytes).
void WriteKeyRecord(platform::RecordWriter& out, const Key& key);
// Reads the kKeyRecordLength bytes that WriteKeyRecord writes.
void ReadKeyRecord(platform::RecordReader& in, Key& key);
// Reads only the Market of those bytes and passes over the rest.
void ReadKeyRecordMarket(platform::RecordReader& in, Key& key);

// The record identity: Market & Category & CorpCode at full width.
void CdmKeyString(const Key& key, std::string& identity);

}  // namespace marketdata
