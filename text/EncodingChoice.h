#pragma once
// Chooses the legacy encoding of a text that is not UTF-8, the way a reader would: the byte
// statistics' guess is taken when it is strong; when it is weak (a short text, few non-ASCII
// bytes) the plausible candidates are all decoded, and the one whose text reads as a language
// with the most confidence and the fewest unlikely characters wins.

#include <string>
#include <string_view>

namespace text {

// The iconv name of the encoding of `bytes` ("WINDOWS-1251", "SHIFT_JIS", ...), for bytes
// that are neither UTF-8 nor marked by a byte-order mark. Never empty: Windows-1252 is the
// answer of last resort.
std::string ChooseLegacyEncoding(std::string_view bytes);

// The number of characters of `utf8` that a reader of language `tag` (BCP 47, or empty when
// unknown) would not expect: controls, unassigned code points, symbols glued to letters,
// letters the language does not use, scripts or letter case changing inside a word.
std::size_t CountUnlikelyCharacters(std::string_view utf8, const std::string& tag);

}  // namespace text
