#pragma once
// Marks the headings a document draws with markup of its own (underlines, overlines, frames,
// hashes, outline stars; see UnderlinedHeadings.h and MarkedHeadings.h). Their levels follow
// the order in which the styles first appear, hashes ranked among themselves by their count;
// the markup lines become the heading's decoration, never text. When one heading of a style no
// other heading shares opens the document, it is the document's title. Returns true when the
// headings are those of a text written in Markdown (hash lines).

#include "doclib/Document.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

bool MarkShapedHeadings(Document& doc, const LineScan& scan, LineMarks& marks);

}  // namespace Tessaly::Docs
