#pragma once
// Headings that carry their markup on their own line: "## Installing" (the hashes of Markdown
// in a text file), "=== Installing ===" (a title framed by runs of one mark), and "＊ 導入" or
// "* SUMMARY" (an outline's star before a title). Each stands apart between blank lines; a hash
// line may have its text right under it, as Markdown allows.
//
// A hash line is a heading only where the document has three of them, or two with one set
// apart by blank lines, or opens with one; its title starts with a capital or a caseless letter
// and does not end a sentence, so a "# make install" comment in a shell snippet stays text. A
// star line is a heading only where the
// document has two or more of them and they are not one under another, as the items of a list
// spaced by blank lines are; "* TITLE" needs its title in capitals.
//
// The navigation lines of a text renderer ("File: guide.info,  Node: Top,  Next: ...") are
// markup of the same kind and are found here too.

#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/HeadingShape.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

struct MarkedLines {
    std::vector<ShapedHeading> headings;    // in line order
    std::vector<std::uint32_t> navigation;  // node lines, in line order
    bool markdown = false;  // the hash lines are the headings of a text written in Markdown
};

MarkedLines FindMarkedHeadings(const Document& doc, const LineScan& scan, const LineMarks& marks);

}  // namespace Tessaly::Docs
