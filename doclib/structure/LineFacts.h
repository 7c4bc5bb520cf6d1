#pragma once
// What the shape heuristics need to know about each line of plain text, gathered in one pass:
// lengths, indentation, how the line starts and ends. A line is one block of the document as
// the reader gives staged text (one paragraph per line, empty blocks for blank lines).

#include <cstdint>
#include <vector>

#include "doclib/Document.h"

namespace Tessaly::Docs {

enum LineFlag : std::uint16_t {
    kLineBlank = 1 << 0,             // empty or only spaces and tabs
    kLineStructural = 1 << 1,        // not a Paragraph block (a heading or break of the source)
    kLineOrnament = 1 << 2,          // only scene-break ornaments
    kLineHasBreak = 1 << 3,          // already holds a '\n' line break
    kLinePreformatted = 1 << 4,      // columns: a wide gap, an inner tab or table rules
    kLineCodeLike = 1 << 5,          // ends like a line of program code
    kLineListItem = 1 << 6,          // starts with a bullet or an item number
    kLineEndsInDash = 1 << 7,        // ends in a hyphen or dash right after a word: join tightly
    kLineStartsLower = 1 << 8,       // the first letter is lowercase
    kLineStartsUpper = 1 << 9,       // the first letter is uppercase
    kLineStartsWord = 1 << 10,       // the first character is a letter or digit
    kLineEndsWord = 1 << 11,         // the last character is a letter or digit
    kLineStartsSpaceless = 1 << 12,  // opens with a character written without spaces (Han, kana)
    kLineEndsSpaceless = 1 << 13,    // ends with one
};

struct LineFacts {
    std::uint32_t length = 0;     // columns as written, indentation included, trailing blanks not
    std::uint16_t indent = 0;     // columns of leading blanks (a tab counts four)
    std::uint16_t firstWord = 0;  // code points of the first word
    std::uint16_t words = 0;      // words on the line, capped
    std::uint16_t flags = 0;

    bool Has(std::uint16_t flag) const { return (flags & flag) != 0; }
    // A line of running text: not blank, not a source heading, not already broken.
    bool IsText() const { return !Has(kLineBlank | kLineStructural | kLineHasBreak); }
    // Running text that is not an ornament line either.
    bool IsPlainText() const { return IsText() && !Has(kLineOrnament); }
};

struct LineScan {
    std::vector<LineFacts> lines;  // one per block
};

LineScan ScanLines(const Document& doc);

}  // namespace Tessaly::Docs
