#pragma once
// Titles over a rule of one repeated mark ("Installing" over "=========="), and titles between
// two such rules, as reStructuredText, Sphinx's and Texinfo's text output, setext Markdown and
// many READMEs write them. The rule is about as wide as the title; a title stands apart from
// the text above it, so a rule under the last line of a paragraph stays a rule. A document may
// draw every rule at one fixed width: a width repeated under several titles is taken as that.

#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/HeadingShape.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

// In line order; the rules are the lines around each title that carry the same mark.
std::vector<ShapedHeading> FindUnderlinedHeadings(const Document& doc, const LineScan& scan,
                                                  const LineMarks& marks);

}  // namespace Tessaly::Docs
