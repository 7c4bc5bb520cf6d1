#include "text/Utf8Text.h"

#include <unicode/uchar.h>

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
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out.push_back(ToLowerAscii(text[i]));
            ++i;
            continue;
        }
        const CodePoint cp = DecodeAt(text, i);
        if (!IsWellFormed(text, i, cp)) {
            out.push_back(text[i]);  // an invalid byte is kept as it is: lengths must match
        } else {
            Append(out, FoldCase(cp.value));
        }
        i += cp.length;
    }
}

std::string_view Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlankByte(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlankByte(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

}  // namespace text::utf8
