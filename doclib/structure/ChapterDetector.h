#pragma once
// Finds the chapter lines of a text that has no headings of its own, and gives them levels:
// Volume, Book and Part head the book (level 1, or 1 to 3 when several of them are used);
// chapters and interludes sit one level below the lowest of those present, or at level 1 when
// there are none; front matter before the first part and back matter are level 1.
//
// Ordinary prose never turns into headings: a candidate stands on its own short line, set apart
// from the text before it; a run of three or more candidates with no text between them is a
// table of contents and stays text; a text where a large share of lines match is a list, not a
// book; and numbers of one kind must mostly increase (restarting at 1 is allowed).
//
// A short line directly under a chapter line without a title of its own ("Chapter 1" / "The
// Storm"), or a capitalised one after a single blank line, is its subtitle: it joins the heading as
// a second line of it, so no word is added or lost and the contents list shows "Chapter 1 The
// Storm".

#include <cstdint>
#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/ChapterLine.h"
#include "doclib/structure/DocumentShape.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

inline constexpr std::uint32_t kNoLine = 0xFFFFFFFFu;

struct ChapterHeading {
    std::uint32_t line = 0;
    std::uint32_t subtitle = kNoLine;
    std::uint32_t continuation = kNoLine;  // the line a long title the width broke goes on in
    DivisionKind kind = DivisionKind::Chapter;
    std::uint8_t level = 1;
    bool titled = false;   // the line carries its title after the number
    bool wrapped = false;  // the title goes on in the next line
};

std::vector<ChapterHeading> DetectChapters(const Document& doc, const LineScan& scan,
                                           const DocumentShape& shape);

void MarkChapters(const std::vector<ChapterHeading>& chapters, LineMarks& marks);

}  // namespace Tessaly::Docs
