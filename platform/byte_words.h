#pragma once
#include <cstdint>

namespace platform {

// Eight bytes of text looked at as one little-endian word, for scans that
// would otherwise test byte by byte.

inline constexpr std::uint64_t kByteOnes = 0x0101010101010101ULL;

// The high bit of every byte of `word` that is zero, and no other bit.
constexpr std::uint64_t ZeroBytes(std::uint64_t word) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// The high bit of every byte of `word` equal to `byte`, and no other bit.
constexpr std::uint64_t BytesEqualTo(std::uint64_t word, char byte) {
    return ZeroBytes(word ^ (kByteOnes * static_cast<unsigned char>(byte)));
}

}  // namespace platform
