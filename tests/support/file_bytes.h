#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// Whole-file helpers for fixtures and assertions; bytes are kept as they are.
std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);

// The names in a folder, sorted.
std::vector<std::string> EntriesOf(const std::filesystem::path& folder);

}  // namespace testsupport
