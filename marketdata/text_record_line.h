#pragma once
#include <span>
#include <string>
#include <string_view>

#include "marketdata/key.h"

namespace marketdata {

// Lines of the records that are a Key followed by plain texts (company
// profiles, market reports, research-provider data). Each record names its
// texts in line order as a list of pointers, so one writer, reader and copy
// serve all of them.

// The Key's tab form as it stands (not stamped), then each text after a TAB,
// its control characters written as blanks (platform/field_text.h).
void TextRecordToLine(const Key& key, std::span<const std::string* const> texts, std::string& line);

// Reads a line of exactly 16 + texts.size() fields; false, and nothing
// changed, otherwise.
bool LineToTextRecord(std::string_view line, Key& key, std::span<std::string* const> texts);

// Copies the texts one by one; both lists name the same layout.
void CopyTexts(std::span<std::string* const> target, std::span<const std::string* const> source);

}  // namespace marketdata
