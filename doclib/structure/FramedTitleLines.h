#pragma once
// Titles between two equal runs of one mark set right among the lines of the text, with no blank
// line around them: "***** 2.1. Installing *****" as some renderers of web pages write a
// heading, the run the longer the higher the heading. A title too long for its line closes on
// the next one ("**** 2.3. Listing packages by" over "name ****"), or its closing run stands
// alone under it.
//
// The equal runs on both sides are the evidence, so a document must draw two such titles or more
// with one mark before any is taken; a list item ("* Tea *") is no title.

#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/HeadingShape.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

// In line order, of the kind Framed, styled by mark and run.
std::vector<ShapedHeading> FindFramedTitleLines(const Document& doc, const LineScan& scan,
                                                const LineMarks& marks);

}  // namespace Tessaly::Docs
