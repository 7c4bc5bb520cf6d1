#include "text/Utf8.h"

#include <cstdint>
#include <cstring>

#include "text/Windows1252.h"

namespace text::utf8 {

namespace {

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// What a byte at or above 0x80 promises: the length of its sequence (0 when it begins none)
// and the range its second byte must fall in.
struct LeadByte {
    std::size_t length = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
};

LeadByte LeadOf(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF) {
        return {2, 0x80, 0xBF};
    }
    if (b >= 0xE0 && b <= 0xEF) {
        // No overlong forms, no surrogates.
        return {3, static_cast<unsigned char>(b == 0xE0 ? 0xA0 : 0x80),
                static_cast<unsigned char>(b == 0xED ? 0x9F : 0xBF)};
    }
    if (b >= 0xF0 && b <= 0xF4) {
        // No overlong forms, nothing past U+10FFFF.
        return {4, static_cast<unsigned char>(b == 0xF0 ? 0x90 : 0x80),
                static_cast<unsigned char>(b == 0xF4 ? 0x8F : 0xBF)};
    }
    return {};
}

// Length of the well-formed sequence at `at`, or 0 when the byte there does not begin one.
std::size_t SequenceAt(std::string_view s, std::size_t at) {
    const auto b = static_cast<unsigned char>(s[at]);
    if (b < 0x80) {
        return 1;
    }
    const LeadByte lead = LeadOf(b);
    const std::size_t len = lead.length;
    if (len == 0 || at + len > s.size()) {
        return 0;
    }
    const auto second = static_cast<unsigned char>(s[at + 1]);
    if (second < lead.lo || second > lead.hi) {
        return 0;
    }
    for (std::size_t k = 2; k < len; ++k) {
        if (!IsContinuation(static_cast<unsigned char>(s[at + k]))) {
            return 0;
        }
    }
    return len;
}

bool AsciiWord(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return (word & 0x8080808080808080ULL) == 0;
}

}  // namespace

CodePoint DecodeSequenceAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = SequenceAt(text, at);
    if (length == 0) {
        return {Windows1252Char(lead), 1};
    }
    if (length == 1) {
        return {lead, 1};
    }
    char32_t value = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        value = (value << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    }
    return {value, length};
}

std::size_t IllFormedLengthAt(std::string_view text, std::size_t at) {
    const LeadByte lead = LeadOf(static_cast<unsigned char>(text[at]));
    unsigned char lo = lead.lo;
    unsigned char hi = lead.hi;
    std::size_t k = 1;
    while (k < lead.length && at + k < text.size()) {
        const auto b = static_cast<unsigned char>(text[at + k]);
        if (b < lo || b > hi) {
            break;
        }
        lo = 0x80;
        hi = 0xBF;
        ++k;
    }
    return k;
}

CodePoint DecodeBefore(std::string_view text, std::size_t end) {
    std::size_t start = end - 1;
    while (start > 0 && end - start < 4 &&
           IsContinuation(static_cast<unsigned char>(text[start]))) {
        --start;
    }
    const CodePoint cp = DecodeAt(text, start);
    if (start + cp.length != end) {
        return DecodeAt(text, end - 1);
    }
    return cp;
}

std::size_t CountCodePoints(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += DecodeAt(text, i).length) {
        ++count;
    }
    return count;
}

void Append(std::string& out, char32_t c) {
    out.append(Utf8Char(c).view());
}

bool IsAscii(std::string_view bytes) {
    // The high bits of four words gathered and tested at once: a line of text is ASCII through
    // and through, or soon shows it is not.
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    const char* p = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t at = 0;
    std::uint64_t word[4];
    for (; at + 32 <= size; at += 32) {
        std::memcpy(word, p + at, 32);
        if (((word[0] | word[1] | word[2] | word[3]) & kHighBits) != 0) {
            return false;
        }
    }
    for (; at + 8 <= size; at += 8) {
        std::memcpy(word, p + at, 8);
        if ((word[0] & kHighBits) != 0) {
            return false;
        }
    }
    if (at == size) {
        return true;
    }
    if (size >= 8) {
        // The last eight bytes, some of them looked at already.
        std::memcpy(word, p + size - 8, 8);
        return (word[0] & kHighBits) == 0;
    }
    for (; at < size; ++at) {
        if (static_cast<unsigned char>(p[at]) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::size_t ValidPrefixLength(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (i + 8 <= bytes.size() && AsciiWord(bytes.data() + i)) {
            i += 8;
            continue;
        }
        const std::size_t len = SequenceAt(bytes, i);
        if (len == 0) {
            return i;
        }
        i += len;
    }
    return i;
}

bool IsValidUtf8(std::string_view bytes) {
    return ValidPrefixLength(bytes) == bytes.size();
}

std::string ToValidUtf8(std::string_view bytes) {
    std::size_t valid = ValidPrefixLength(bytes);
    if (valid == bytes.size()) {
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size() + 16);
    std::size_t i = 0;
    while (i < bytes.size()) {
        out.append(bytes.substr(i, valid));
        i += valid;
        if (i == bytes.size()) {
            break;
        }
        Append(out, Windows1252Char(static_cast<std::uint8_t>(bytes[i])));
        ++i;
        valid = ValidPrefixLength(bytes.substr(i));
    }
    return out;
}

}  // namespace text::utf8
