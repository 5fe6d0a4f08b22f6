#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/currency.h"

namespace common {

// A settings path names one value of the per-user settings tree:
// "MirControl\Section\Key". Every value is text; an absent key reads as "".

struct SettingPath {
    std::string application;
    std::string section;
    std::string key;
};

// Splits at every "\"; parts past the third are ignored. Fewer than three
// parts is an application error: it is logged, shown, and the program ends.
SettingPath SplitSettingPath(std::string_view path);

std::string ReadSetting(std::string_view path);
void WriteSetting(std::string_view path, std::string_view value);

// The trimmed value as an integer, halves rounding to even; a value that is
// not a number reads as 0 (as 1 for the DefaultOne form). A number beyond 32
// bits raises overflow to the caller.
std::int32_t ReadSettingLong(std::string_view path);
std::int32_t ReadSettingLongDefaultOne(std::string_view path);

// "MirControl\Section\Key" for a key of the programs' own tree.
std::string SettingKeyPath(std::string_view section, std::string_view key);

// Indexed keys: `keyPath` followed by the index as two digits ("Key" + 1 -> "Key01").
std::string IndexedKeyPath(std::string_view keyPath, std::int16_t index);
void WriteIndexedSetting(std::string_view keyPath, std::int16_t index, std::string_view value);
// Stores "1" when `flag` is 1 and "0" for any other value.
void WriteIndexedFlagSetting(std::string_view keyPath, std::int16_t index, std::int32_t flag);

// The trimmed text's amount, or 0 when it is not a number.
platform::Currency ParseCurrencyOrZero(std::string_view text);

}  // namespace common
