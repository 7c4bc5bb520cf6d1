#pragma once
// A paragraph that ends in "::" introduces the indented block under it as a literal block, the
// way reStructuredText and the manuals written in it show examples: everything set deeper than
// the paragraph, up to the first line back at its margin, is kept as written; so is the
// content of a directive that shows code (".. code-block:: rst"), and a fenced block of
// Markdown ("```" to "```"). Titles and underlines inside such a block are examples of markup,
// never headings of the text.

#include "doclib/Document.h"
#include "doclib/structure/LineFacts.h"

namespace Tessaly::Docs {

// Marks the lines of every literal block preformatted.
void MarkLiteralBlocks(const Document& doc, LineScan& scan);

}  // namespace Tessaly::Docs
