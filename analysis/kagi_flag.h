#pragma once
#include <string>
#include <string_view>

namespace analysis {

// A one-character text of the Kagi records: "1", "2", "0", a blank, or empty
// before anything sets it. It is held as its one stored byte, so that a day
// or line record owns no string: the engine copies thousands of them per
// stock. The texts become strings only where files are written or read.
class KagiFlag {
public:
    constexpr KagiFlag() = default;
    constexpr explicit KagiFlag(char byte) : byte_(byte) {}
    // Empty, or one ASCII character: the text as a test or a chart gives it.
    constexpr KagiFlag(std::string_view text) : byte_(text.empty() ? kEmpty : text.front()) {}
    constexpr KagiFlag(const char* text) : KagiFlag(std::string_view(text)) {}
    KagiFlag(const std::string& text) : KagiFlag(std::string_view(text)) {}

    constexpr bool Is(char flag) const { return byte_ == flag; }
    constexpr bool empty() const { return byte_ == kEmpty; }
    // The byte the record files hold: an empty flag is stored as a blank.
    constexpr char StoredByte() const { return empty() ? ' ' : byte_; }
    std::string Text() const { return empty() ? std::string() : std::string(1, byte_); }

    friend constexpr bool operator==(KagiFlag, KagiFlag) = default;

private:
    static constexpr char kEmpty = '\0';
    char byte_ = kEmpty;
};

// Direction.
inline constexpr char kFlagUp = '1';
inline constexpr char kFlagDown = '2';

}  // namespace analysis
