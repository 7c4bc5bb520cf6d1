#pragma once
// Small UTF-8 helpers for the structure heuristics: decoding, a rough letter and case
// classification for the scripts books are written in, and case folding for matching
// chapter words. Invalid bytes decode as U+FFFD one byte at a time, so no input can stall a
// scan.

#include <cstddef>
#include <string>
#include <string_view>

namespace Tessaly::Docs::utf8 {

struct CodePoint {
    char32_t value = 0;
    std::size_t length = 1;  // bytes taken from the input
};

CodePoint DecodeAt(std::string_view text, std::size_t at);
// The code point that ends just before `end` (end > 0).
CodePoint DecodeBefore(std::string_view text, std::size_t end);
std::size_t CountCodePoints(std::string_view text);
void Append(std::string& out, char32_t c);

bool IsLetter(char32_t c);
bool IsDigit(char32_t c);  // ASCII and full-width digits
inline bool IsWordChar(char32_t c) {
    return IsLetter(c) || IsDigit(c);
}
bool IsUpper(char32_t c);
bool IsLower(char32_t c);
// Lowercase for the Latin, Greek and Cyrillic letters; other code points unchanged.
char32_t FoldCase(char32_t c);
// `text` folded to lowercase into `out` (cleared first); the byte length stays the same.
void FoldCaseInto(std::string_view text, std::string& out);

inline bool IsBlankByte(char c) {
    return c == ' ' || c == '\t';
}
// `text` without leading and trailing spaces and tabs.
std::string_view Trim(std::string_view text);

}  // namespace Tessaly::Docs::utf8
