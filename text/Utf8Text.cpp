#include "text/Utf8Text.h"

#include <unicode/uchar.h>

#include <cstdint>
#include <cstring>

#include "text/AsciiCase.h"

namespace text::utf8 {

bool IsLetter(char32_t c) {
    if (c < 0x80) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    }
    return u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_ALPHABETIC) != 0;
}

bool IsDigit(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 0xFF10 && c <= 0xFF19);
}

char32_t FoldCase(char32_t c) {
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
    }
    const auto folded =
        static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
    return Utf8Char(folded).view().size() == Utf8Char(c).view().size() ? folded : c;
}

bool IsUpper(char32_t c) {
    if (c < 0x80) {
        return c >= 'A' && c <= 'Z';
    }
    return u_isupper(static_cast<UChar32>(c)) != 0 || u_istitle(static_cast<UChar32>(c)) != 0;
}

bool IsLower(char32_t c) {
    if (c < 0x80) {
        return c >= 'a' && c <= 'z';
    }
    return u_islower(static_cast<UChar32>(c)) != 0;
}

void FoldCaseInto(std::string_view text, std::string& out) {
    FoldCasePrefixInto(text, text.size(), out);
}

void FoldCasePrefixInto(std::string_view text, std::size_t bytes, std::string& out) {
    // Folding keeps every character's length, so the text is copied once and folded where it
    // lies; the copy takes the bytes of a character that crosses `bytes` too.
    constexpr std::size_t kLongestCharacter = 4;
    const std::size_t limit = bytes < text.size() ? bytes : text.size();
    out.assign(text.substr(0, limit + kLongestCharacter - 1));
    std::size_t i = 0;
    while (i < limit) {
        // Eight bytes of ASCII at a time: each capital gets its 0x20 bit.
        if (i + 8 <= limit) {
            constexpr std::uint64_t kEveryByte = 0x0101010101010101ULL;
            constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + i, 8);
            if ((word & kHighBits) == 0) {
                // Per byte, the high bit of (b + 0x80 - c) says b >= c; no byte carries over.
                const std::uint64_t fromA = word + kEveryByte * (0x80 - 'A');
                const std::uint64_t pastZ = word + kEveryByte * (0x80 - 'Z' - 1);
                word |= ((fromA & ~pastZ) & kHighBits) >> 2;
                std::memcpy(out.data() + i, &word, 8);
                i += 8;
                continue;
            }
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out[i] = ToLowerAscii(text[i]);
            ++i;
            continue;
        }
        const CodePoint cp = DecodeAt(text, i);
        // An invalid byte is kept as it is.
        if (IsWellFormed(text, i, cp)) {
            const Utf8Char folded(FoldCase(cp.value));
            out.replace(i, cp.length, folded.view());
        }
        i += cp.length;
    }
    out.resize(i);
}

}  // namespace text::utf8
