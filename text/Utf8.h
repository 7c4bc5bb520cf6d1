#pragma once
// UTF-8 encoding, decoding and validation: the one place where bytes become code points.
//
// One policy for invalid bytes everywhere: a byte that does not begin a well-formed sequence
// stands for itself as a Windows-1252 character (the five bytes that code page leaves
// undefined keep their C1 code points), one byte at a time. So no scan can stall, and a stray
// Latin-1 byte in otherwise valid UTF-8 still reads as the letter its writer meant.

#include <cstddef>
#include <string>
#include <string_view>

namespace text::utf8 {

struct CodePoint {
    char32_t value = 0;
    std::size_t length = 1;  // bytes taken from the input
};

// The code point at `at` (at < text.size()), of any length; DecodeAt below is the same.
CodePoint DecodeSequenceAt(std::string_view text, std::size_t at);
// The code point at `at` (at < text.size()). Characters of up to three bytes (the letters of
// every living script but a few, CJK included) are decoded in line: writers and scans call
// this for every character.
inline CodePoint DecodeAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    if (lead >= 0xC2 && lead <= 0xDF && at + 1 < text.size()) {
        const auto trail = static_cast<unsigned char>(text[at + 1]);
        if ((trail & 0xC0) == 0x80) {
            return {static_cast<char32_t>((lead & 0x1F) << 6 | (trail & 0x3F)), 2};
        }
    } else if (lead >= 0xE0 && lead <= 0xEF && at + 2 < text.size()) {
        const auto second = static_cast<unsigned char>(text[at + 1]);
        const auto third = static_cast<unsigned char>(text[at + 2]);
        // No overlong forms after E0, no surrogates after ED.
        const unsigned char lo = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char hi = lead == 0xED ? 0x9F : 0xBF;
        if (second >= lo && second <= hi && (third & 0xC0) == 0x80) {
            return {
                static_cast<char32_t>((lead & 0x0F) << 12 | (second & 0x3F) << 6 | (third & 0x3F)),
                3};
        }
    }
    return DecodeSequenceAt(text, at);
}
// The code point that ends just before `end` (end > 0).
CodePoint DecodeBefore(std::string_view text, std::size_t end);
// True when DecodeAt found a well-formed sequence, not an invalid byte read by the policy.
inline bool IsWellFormed(std::string_view text, std::size_t at, const CodePoint& cp) {
    return cp.length > 1 || static_cast<unsigned char>(text[at]) < 0x80;
}
// Where no well-formed sequence begins at `at`: the length of the stretch that is its broken
// start, the lead byte with the bytes that still fitted it (Unicode's maximal subpart), so that
// a writer that marks bad input marks each stretch once.
std::size_t IllFormedLengthAt(std::string_view text, std::size_t at);
std::size_t CountCodePoints(std::string_view text);
void Append(std::string& out, char32_t c);

// True when every byte is below 0x80: a character per byte, no decoding needed.
bool IsAscii(std::string_view bytes);
// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);
// Length of the longest prefix of `bytes` that is well-formed UTF-8.
std::size_t ValidPrefixLength(std::string_view bytes);

// `bytes` as valid UTF-8: well-formed sequences kept, every other byte read by the policy
// above. Valid input comes back unchanged.
std::string ToValidUtf8(std::string_view bytes);

// A code point encoded as UTF-8 in a small fixed buffer (no heap).
class Utf8Char {
  public:
    explicit constexpr Utf8Char(char32_t c) {
        if (c < 0x80) {
            bytes_[0] = static_cast<char>(c);
            size_ = 1;
        } else if (c < 0x800) {
            bytes_[0] = static_cast<char>(0xC0 | (c >> 6));
            bytes_[1] = static_cast<char>(0x80 | (c & 0x3F));
            size_ = 2;
        } else if (c < 0x10000) {
            bytes_[0] = static_cast<char>(0xE0 | (c >> 12));
            bytes_[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes_[2] = static_cast<char>(0x80 | (c & 0x3F));
            size_ = 3;
        } else {
            bytes_[0] = static_cast<char>(0xF0 | (c >> 18));
            bytes_[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            bytes_[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes_[3] = static_cast<char>(0x80 | (c & 0x3F));
            size_ = 4;
        }
    }
    constexpr std::string_view view() const { return std::string_view(bytes_, size_); }

  private:
    char bytes_[4] = {};
    std::size_t size_ = 0;
};

}  // namespace text::utf8
