#pragma once
#include <stdexcept>
#include <string>

namespace platform {

// A run-time error that a procedure traps: it carries the error number, the
// standard description of that number and the source that raised it, which
// the error log and the error box show.
class TrappedError : public std::runtime_error {
public:
    TrappedError(long number, std::string description, std::string source);

    long number() const { return number_; }
    const std::string& description() const { return description_; }
    const std::string& source() const { return source_; }

private:
    long number_;
    std::string description_;
    std::string source_;
};

// Error numbers that the core raises itself, with their standard descriptions.
namespace error_number {
inline constexpr long kOverflow = 6;
inline constexpr long kDivisionByZero = 11;
inline constexpr long kTypeMismatch = 13;
inline constexpr long kFileNotFound = 53;
inline constexpr long kDiskFull = 61;
inline constexpr long kPathFileAccess = 75;
inline constexpr long kPathNotFound = 76;
}  // namespace error_number

// The standard description of an error number ("" for one the system does not raise).
std::string StandardErrorDescription(long number);

// Raises error `number` with its standard description.
[[noreturn]] void RaiseError(long number, const std::string& source);

}  // namespace platform
