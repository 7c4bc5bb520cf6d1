#pragma once
// A line's bytes looked at eight at a time, for the scans that every line of a large text goes
// through: one 64-bit number per eight bytes, the first byte lowest, and per byte a flag (its
// high bit) for the bytes of one kind.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace Tessaly::Docs {

constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// The `count` (at most 8) bytes at `p`; missing bytes are zero.
inline std::uint64_t LoadEightBytes(const char* p, std::size_t count) {
    std::uint64_t word = 0;
    if (count == 8) {
        std::memcpy(&word, p, 8);
    } else {
        std::memcpy(&word, p, count);
    }
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

// The flags of the bytes equal to `c`. Exact: no carry crosses from one byte into the next.
inline std::uint64_t BytesEqual(std::uint64_t word, char c) {
    constexpr std::uint64_t kLowBits = ~kHighBits;
    const std::uint64_t x = word ^ (kEveryByte * static_cast<unsigned char>(c));
    return ~(((x & kLowBits) + kLowBits) | x | kLowBits);
}

// How many bytes are flagged.
inline std::size_t FlagCount(std::uint64_t flags) {
    return static_cast<std::size_t>(((flags >> 7) * kEveryByte) >> 56);
}

// The position of the first flagged byte; `flags` is not zero.
inline std::size_t FirstFlagged(std::uint64_t flags) {
    return static_cast<std::size_t>(std::countr_zero(flags)) / 8;
}

}  // namespace Tessaly::Docs
