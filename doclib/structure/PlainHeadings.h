#pragma once
// Headings with no markup at all, in a document written one paragraph a line (long lines, the
// headings short ones between blank lines), found by where and how they stand: a short line in
// capitals ("INSTALLING THE PROGRAM") where the prose is in mixed case, and a short line that
// ends without a mark and heads a paragraph ("Sharing your notes" over a long line). In wrapped
// text such lines are as often terms, labels of boxes and fragments of prose, and stay text.
//
// Precision comes first: a line with a final mark, a quotation, a list item or a line set in
// columns is never one; three such lines one under another are a list, not headings; and the
// rules apply only where the document's shape shows them (mixed-case prose for capitals, long
// paragraph lines). Each is a sibling of the heading found before it.
//
// A contents list whose nested entries run together on their parent's line ("Common Tasks
// Task 1: Organizing") nests the headings it names so: the first under the line's own level,
// the rest one level deeper.

#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/ContentsList.h"
#include "doclib/structure/DocumentShape.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

// `marks` holds the headings found by their words or markup, and the title.
void MarkPlainHeadings(const Document& doc, const LineScan& scan, const DocumentShape& shape,
                       const std::vector<ContentsList>& contents, LineMarks& marks);

}  // namespace Tessaly::Docs
