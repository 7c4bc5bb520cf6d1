#pragma once
// A heading line too long for the renderer's width, broken onto a second line: the second line
// is short, starts at the heading's own margin (a line hung deeper is a list item's), and ends
// the heading's group of lines. Where the document's shape shows no wrap (a render that indents
// its body but not its headings), the width the text's lines pile up against stands for it:
// the heading nearly reaches it and the next line's first word would not have fitted.

#include <cstddef>
#include <cstdint>

#include "doclib/structure/DocumentShape.h"
#include "doclib/structure/LineFacts.h"

namespace Tessaly::Docs {

// The width the lines of running text are cut at, measured once for a document; 0 when they
// show none.
std::uint32_t TextCutWidth(const LineScan& scan);

// Line `i`, a heading's, goes on in line `i + 1` and nowhere further; `width` is
// TextCutWidth of the same scan.
bool HeadingGoesOnBelow(const LineScan& scan, const DocumentShape& shape, std::uint32_t width,
                        std::size_t i);

}  // namespace Tessaly::Docs
