#pragma once
// Character classes and case folding over UTF-8, for text heuristics (the structure steps of
// the document library, the encoding choice): Unicode's own letter and case properties (ICU),
// so every script is judged alike. Decoding follows the one policy of text/Utf8.h.

#include <cstddef>
#include <string>
#include <string_view>

#include "text/Utf8.h"

namespace text::utf8 {

bool IsLetter(char32_t c);  // alphabetic, in any script (with the vowel signs of Indic scripts)
bool IsDigit(char32_t c);   // ASCII and full-width digits
inline bool IsWordChar(char32_t c) {
    return IsLetter(c) || IsDigit(c);
}
bool IsUpper(char32_t c);
bool IsLower(char32_t c);
// Unicode simple case folding; a code point whose folded form would change its UTF-8 length
// (the Kelvin sign, capital sharp s) stays as it is, so positions in folded text match the
// original.
char32_t FoldCase(char32_t c);
// `text` folded into `out` (cleared first); the byte length stays the same.
void FoldCaseInto(std::string_view text, std::string& out);
// The start of what FoldCaseInto gives, at least `bytes` long (the character that crosses
// `bytes` is folded whole), or all of it for a shorter text: for a test on how a line begins
// that most lines fail.
void FoldCasePrefixInto(std::string_view text, std::size_t bytes, std::string& out);

inline bool IsBlankByte(char c) {
    return c == ' ' || c == '	';
}
inline bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
// `text` without leading and trailing spaces and tabs. In line: every scan of lines trims.
inline std::string_view Trim(std::string_view text) {
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

// The document library's structure steps know these helpers as Tessaly::Docs::utf8.
namespace Tessaly::Docs {
namespace utf8 = ::text::utf8;
}  // namespace Tessaly::Docs
