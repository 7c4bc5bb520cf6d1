#pragma once
// Judgements on the words of one trimmed line that several heuristics share.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Tessaly::Docs {

// The line ends a sentence or clause: its last mark (past closing quotes and brackets) is one
// of . , ; : and, when `countQuestions`, also ! or ?.
bool EndsLikeSentence(std::string_view trimmed, bool countQuestions);

// Every cased letter is uppercase, and there are at least two letters.
bool IsAllCaps(std::string_view trimmed);

// Each word of four or more letters, and the first word, begins with a capital.
bool IsTitleCase(std::string_view trimmed);

bool HasLetter(std::string_view trimmed);

}  // namespace Tessaly::Docs

namespace Tessaly::Docs {

// `text` with every Unicode space (no-break, thin, ideographic, ...) written as plain spaces of
// the same byte length, so positions carry over; `scratch` holds the copy when one is needed.
std::string_view WithPlainSpaces(std::string_view text, std::string& scratch);

}  // namespace Tessaly::Docs

namespace Tessaly::Docs {

// The blanks that open a line: spaces, tabs (four columns), and the no-break and ideographic
// spaces that text dumps and CJK typists indent with (an ideographic space is two columns).
struct Indentation {
    std::size_t bytes = 0;
    std::uint32_t columns = 0;
};
Indentation MeasureIndent(std::string_view text);

// The bytes of the leading blanks of `text` that make up its first `columns` columns.
std::size_t IndentBytesFor(std::string_view text, std::uint32_t columns);

// The bytes of blanks (the same kinds) that end `text`.
std::size_t TrailingBlankBytes(std::string_view text);

}  // namespace Tessaly::Docs
