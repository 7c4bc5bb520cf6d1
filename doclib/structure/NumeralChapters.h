#pragma once
// Two refinements of the detected chapter lines by what the lines say. Chapters headed by a Roman
// numeral alone ("IV." or "IV. THE STORM") are chapters only when the book has a run of them
// starting at I: one such line on its own is a signature ("C. Smith"), a pronoun ("I") or a list's
// item.

#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/ChapterDetector.h"

namespace Tessaly::Docs {

std::vector<ChapterHeading> WithoutStrayNumerals(const Document& doc,
                                                 std::vector<ChapterHeading> chapters);

// Sections counted within chapters ("第三节", "제 2 절") sit one level below the chapter line
// before them; without one they stay where the detector put them.
std::vector<ChapterHeading> WithSectionsNested(const Document& doc,
                                               std::vector<ChapterHeading> chapters);

}  // namespace Tessaly::Docs
