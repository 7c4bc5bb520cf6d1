#pragma once
// A heading recognised by its shape on the page rather than by its words: the line, the
// markup around its title, and the style of that markup. Headings of one style share a level,
// and the styles rank in the order they first appear, as reStructuredText ranks its adornments.

#include <cstdint>
#include <string_view>

#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

enum class HeadingStyleKind : std::uint8_t {
    Underlined,  // a title over a rule
    Overlined,   // a title between two rules: its own style, above the underlined ones
    Hashes,      // "## Title", ranked by the number of hashes
    Framed,      // "=== Title ===", by mark and run
    Marked,      // "＊ Title", "* TITLE", by mark
    Rubric,      // ".. rubric:: 2.1. Title": its level is its numbering's, kept in `run`
};

// Where a framed title's closing run stands: on its line, at the end of the next line (which
// goes on with the title), or alone on the next line.
enum class FrameClosing : std::uint8_t { OnTheLine, NextLine, RuleBelow };

struct ShapedHeading {
    std::uint32_t line = 0;
    HeadingStyleKind kind = HeadingStyleKind::Underlined;
    std::uint8_t run = 0;  // hashes, or marks of a frame
    char32_t mark = 0;
    std::uint8_t markupLead = 0;  // bytes of the trimmed line that are markup
    std::uint8_t markupTrail = 0;
    FrameClosing closing = FrameClosing::OnTheLine;
    std::uint8_t closeTrail = 0;  // bytes of markup that end the next line
    bool named = false;           // a rubric given an anchor (":name: mail-server")

    std::uint64_t Style() const {
        return (std::uint64_t{static_cast<std::uint8_t>(kind)} << 40) | (std::uint64_t{run} << 32) |
               mark;
    }
};

// The line without its leading and trailing blanks, as the rebuilder measures them.
std::string_view LineContent(std::string_view text);

// Nothing of running text at line `i`: outside the document, blank, a block of the source, an
// ornament, or a line already given a role other than text.
bool BoundsHeading(const LineScan& scan, const LineMarks& marks, std::size_t i);

// The title ends as a sentence or clause does (". , ;" and their CJK forms), past closing marks.
bool TitleEndsSentence(std::string_view title);

// The title starts with a capital, a digit or a letter of a script without case.
bool OpensLikeTitle(std::string_view title);

// Set in capitals: every letter a capital (a letter without case is none), at least
// `minCapitals` of them, and more capitals than other marks, so a code or a number is not.
bool IsInCapitals(std::string_view title, int minCapitals);

// A letter or a digit: a title says something.
bool HasWordCharacter(std::string_view title);

}  // namespace Tessaly::Docs
