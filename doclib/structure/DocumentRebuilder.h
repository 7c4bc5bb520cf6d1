#pragma once
// Writes the refined blocks into a fresh arena in one pass and swaps it in: the old text is
// read once, the new one appended once, and spans keep their formatting across every join.

#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/ParagraphShaper.h"

namespace Tessaly::Docs {

// `emDashes`: write every "--" as an em dash (see DashRule.h).
void RebuildDocument(Document& doc, const LineScan& scan, const std::vector<Unit>& units,
                     bool emDashes);

}  // namespace Tessaly::Docs
