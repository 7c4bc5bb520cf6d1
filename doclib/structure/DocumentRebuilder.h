#pragma once
// Writes the refined blocks into a fresh arena in one pass and swaps it in: the old text is
// read once, the new one appended once, and spans keep their formatting across every join.
// Nothing of the text is rewritten: only the blanks at a join and the indentation that is
// layout are left out.

#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/ParagraphShaper.h"

namespace Tessaly::Docs {

void RebuildDocument(Document& doc, const LineScan& scan, const std::vector<Unit>& units);

}  // namespace Tessaly::Docs
