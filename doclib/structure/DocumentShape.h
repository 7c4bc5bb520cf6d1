#pragma once
// The shape of a plain-text book, judged from the document as a whole: is it hard-wrapped
// (lines cut at a fixed width), do blank lines part its paragraphs, does an indent begin them?
// The judgement is conservative: a text that does not clearly show a wrap keeps its lines.

#include <cstddef>
#include <cstdint>

#include "doclib/structure/LineFacts.h"

namespace Tessaly::Docs {

struct DocumentShape {
    // Lines were cut at about `wrapWidth` columns; a line that the next line's first word would
    // not have fitted onto was wrapped.
    bool hardWrapped = false;
    std::uint32_t wrapWidth = 0;
    // Blank lines part the paragraphs (or stanzas), so a group of lines between blank lines
    // belongs together.
    bool blankSeparated = false;
    // A line indented deeper than the one before it begins a paragraph.
    bool indentMarked = false;
    // Running prose (wrapped, indented or one long paragraph a line), as opposed to verse or
    // lists: the indentation of its paragraphs is layout, not text.
    bool prose = false;
    // Written in Markdown, though read as text (its headings are hash lines): every group of
    // lines between blank lines is one paragraph whose line breaks are soft, but for its list
    // items, its code and its tables.
    bool markdownParagraphs = false;

    // Line `i` was cut by the wrap and goes on in line `i + 1`.
    bool Wrapped(const LineScan& scan, std::size_t i) const;
};

DocumentShape JudgeShape(const LineScan& scan);

// Columns beyond which a line is a whole paragraph, not a wrapped line.
inline constexpr std::uint32_t kLongLine = 100;

}  // namespace Tessaly::Docs
