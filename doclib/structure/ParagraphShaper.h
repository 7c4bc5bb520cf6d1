#pragma once
// Turns the lines of a document into the paragraphs of the book. Hard-wrapped lines of one
// paragraph are joined (one space at each join, none after a hyphen or dash that ends a line:
// "well-" + "known" gives "well-known"); a line indented deeper than the one before begins a
// paragraph in indented text; lines that were not cut by the wrap keep their breaks: verse,
// lists, tables and code stay as they are, a group of them between blank lines becomes one
// paragraph with line breaks, and a text without blank lines keeps one paragraph per line.
// Blank lines are evidence only and never become paragraphs. A list item takes the lines that
// continue it, joined like a paragraph; the indentation a block kept line by line shares with
// all its lines is layout and goes, the indentation within it stays.

#include <cstdint>
#include <vector>

#include "doclib/structure/DocumentShape.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

enum class UnitKind : std::uint8_t {
    Copy,        // a block taken over as it is (a source heading, a formatted paragraph, ...)
    Paragraph,   // lines of text made into one paragraph
    Heading,     // a chapter or title line, with its subtitle
    SceneBreak,  // an ornament line
    ListItem,    // a list item line and its continuation lines
};

enum class Joint : std::uint8_t {
    Words,  // the lines are one run of text
    Lines,  // each line keeps its break
};

enum class IndentRule : std::uint8_t {
    Keep,         // the leading blanks are text (verse, a table set in columns)
    StripAll,     // every line's leading blanks are layout (a paragraph indent)
    StripCommon,  // only the indentation all the lines share is layout (code, a block quote)
};

// One block of the refined book, made of lines [first, first + count) of the source; blank
// lines inside (between a heading and its subtitle) are skipped.
struct Unit {
    std::uint32_t first = 0;
    std::uint32_t count = 1;
    UnitKind kind = UnitKind::Paragraph;
    Joint joint = Joint::Words;
    std::uint8_t level = 0;  // of a heading; the nesting depth of a list item
    IndentRule indent = IndentRule::Keep;
    bool ordered = false;  // a list item with a number or letter
    std::uint32_t number = 0;
    // Of a heading: markup bytes left out at the start of its first line and the end of its
    // last.
    std::uint8_t markupLead = 0;
    std::uint8_t markupTrail = 0;
};

// `keepParagraphs`: the source formatted its own paragraphs; each is kept as it is.
std::vector<Unit> ShapeParagraphs(const LineScan& scan, const DocumentShape& shape,
                                  const LineMarks& marks, bool keepParagraphs);

// Groups of lines with breaks kept longer than this are not one stanza but a text without
// blank lines, and stay one paragraph per line.
inline constexpr std::uint32_t kMaxKeptGroup = 40;

}  // namespace Tessaly::Docs
