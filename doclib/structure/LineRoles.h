#pragma once
// What each line of the document became in the refined book, decided before the arena is
// rebuilt: running text, a scene break, a heading, the subtitle joined to the heading above, a
// list item with the lines that continue it, or the markup of a heading (its underline).

#include <cstdint>
#include <vector>

namespace Tessaly::Docs {

enum class LineRole : std::uint8_t {
    Text,
    SceneBreak,
    Heading,
    Subtitle,
    HeadingContinuation,  // the wrapped end of a long heading line
    ListItem,             // the line that opens an item: its marker stays its first text
    ListContinuation,     // a wrapped line of the item above
    Decoration,           // a heading's underline or overline, a renderer's node line: markup
};

struct LineMark {
    LineRole role = LineRole::Text;
    std::uint8_t level = 0;  // of a Heading; the nesting depth of a ListItem
    bool ordered = false;    // a ListItem with a number or letter
    std::uint32_t number = 0;
    // Of a Heading: the bytes of markup that open and close its line, blanks not counted
    // ("## " and " ##" of "## Install ##", "* " of an outline heading).
    std::uint8_t markupLead = 0;
    std::uint8_t markupTrail = 0;
};

using LineMarks = std::vector<LineMark>;

}  // namespace Tessaly::Docs
