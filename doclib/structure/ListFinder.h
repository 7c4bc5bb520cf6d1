#pragma once
// Marks the list items of plain text and the lines that continue them. An item opens with a
// marker (see ListMarker.h); the lines right under it that are indented past the marker, or
// that the wrap carried on, belong to it. Items nest by the indentation of their markers: a
// marker deeper than the one before opens a list inside it. The entries of a table of contents
// are items too, nested by their indentation, so the list stays in the book as text.

#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/ContentsList.h"
#include "doclib/structure/DocumentShape.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

// Lists nest no deeper than this; deeper markers stay at this depth.
inline constexpr std::uint8_t kMaxListDepth = 6;

// `marks` holds the headings and breaks already; only lines still marked Text are looked at.
void MarkLists(const Document& doc, const LineScan& scan, const DocumentShape& shape,
               const std::vector<ContentsList>& contents, LineMarks& marks);

}  // namespace Tessaly::Docs
