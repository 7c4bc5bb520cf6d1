#pragma once
// The headings below and beside the chapter lines: numbered sections ("1.1. Overview" at level
// 2, "1.1.1." at level 3 and so on, "2." at level 1) and the lines a table of contents lists
// when they come again in the body, numbered or not.
//
// A numbered line is a heading only where the numbering runs on from the heading before it
// (1.1 after 1, 1.2 after 1.1.4, 2 after 1.2), it stands apart from the text around it, and it
// keeps the indentation the other headings keep, so a numbered list inside a section, or prose
// that starts with a number, stays what it is. A run of three or more numbered lines with nothing
// between them is a list of contents or tables, not headings.

#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/ChapterDetector.h"
#include "doclib/structure/ContentsList.h"
#include "doclib/structure/DocumentShape.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

// `marks` already holds the chapter lines (without those inside a contents list).
void MarkOutline(const Document& doc, const LineScan& scan, const DocumentShape& shape,
                 const std::vector<ContentsList>& contents, LineMarks& marks);

// Chapter lines that stand inside a table of contents are entries of it, not headings.
std::vector<ChapterHeading> WithoutContentsLines(std::vector<ChapterHeading> chapters,
                                                 const std::vector<ContentsList>& contents);

}  // namespace Tessaly::Docs
