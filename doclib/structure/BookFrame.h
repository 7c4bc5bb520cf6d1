#pragma once
// The frame a free-books library puts around a book: a header and licence before it, ended by
// a start marker ("*** START OF THE PROJECT GUTENBERG EBOOK … ***", or in the oldest texts the
// line "*END*THE SMALL PRINT! …"), and after it an end marker ("*** END OF …", "End of the
// Project Gutenberg EBook of …") with the licence that follows. Both stay in the book, as
// front and back matter of their own.

#include <cstdint>
#include <string_view>

#include "doclib/Document.h"
#include "doclib/structure/LineFacts.h"

namespace Tessaly::Docs {

enum class FrameMarker : unsigned char { None, Start, End };

// `trimmed` is the line without outer blanks.
FrameMarker MatchFrameMarker(std::string_view trimmed);

struct BookFrame {
    // The start marker's line, or kNoFrameLine when the text has none.
    std::uint32_t start;
    // The first line of the back matter, or kNoFrameLine.
    std::uint32_t end;
    static constexpr std::uint32_t kNoFrameLine = 0xFFFFFFFFu;

    bool HasStart() const { return start != kNoFrameLine; }
    bool HasEnd() const { return end != kNoFrameLine; }
};

// The last start marker before the first end marker (the oldest texts end their small print,
// then open the book), and that end marker.
BookFrame FindBookFrame(const Document& doc, const LineScan& scan);

}  // namespace Tessaly::Docs
