#include "doclib/structure/BookFrame.h"

#include <string>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/TextLine.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

// The markers are short; a long line is prose, and only its head is ever read.
constexpr std::size_t kMaxMarkerBytes = 300;
constexpr std::size_t kMarkerLetters = 48;
constexpr std::string_view kLibrary = "projectgutenberg";

// The first letters of the line, lowercase ASCII, without the asterisks, spaces and
// punctuation the markers vary in ("***START OF", "*** START OF", "*END*THE SMALL PRINT").
std::string MarkerLetters(std::string_view trimmed) {
    std::string letters;
    for (std::size_t i = 0; i < trimmed.size() && letters.size() < kMarkerLetters; ++i) {
        const char c = trimmed[i];
        if (c >= 'a' && c <= 'z') {
            letters.push_back(c);
        } else if (c >= 'A' && c <= 'Z') {
            letters.push_back(static_cast<char>(c + ('a' - 'A')));
        }
    }
    return letters;
}

// Every marker's letters open with "start" or "endof" or "endth": most lines starting with
// an asterisk (a bullet) or an E are ruled out on their first letters.
bool OpensLikeMarker(std::string_view trimmed) {
    constexpr std::size_t kOpening = 5;
    char opening[kOpening];
    std::size_t found = 0;
    for (std::size_t i = 0; i < trimmed.size() && found < kOpening; ++i) {
        const char c = trimmed[i];
        if (c >= 'a' && c <= 'z') {
            opening[found++] = c;
        } else if (c >= 'A' && c <= 'Z') {
            opening[found++] = static_cast<char>(c + ('a' - 'A'));
        }
    }
    const std::string_view letters(opening, found);
    return letters == "start" || letters == "endof" || letters == "endth";
}

}  // namespace

FrameMarker MatchFrameMarker(std::string_view trimmed) {
    if (trimmed.empty() || trimmed.size() > kMaxMarkerBytes) {
        return FrameMarker::None;
    }
    const char first = trimmed[0];
    if (first != '*' && first != 'E' && first != 'e') {
        return FrameMarker::None;
    }
    if (!OpensLikeMarker(trimmed)) {
        return FrameMarker::None;
    }
    const std::string letters = MarkerLetters(trimmed);
    const std::size_t library = letters.find(kLibrary);
    if (first == '*') {
        // "*** START OF THE (COPYRIGHTED) PROJECT GUTENBERG EBOOK", "*END*THE SMALL PRINT!".
        if ((letters.starts_with("startof") && library <= 21) ||
            letters.starts_with("endthesmallprint")) {
            return FrameMarker::Start;
        }
    }
    // "*** END OF THE PROJECT GUTENBERG EBOOK", "End of the Project Gutenberg EBook of …",
    // "End of Project Gutenberg's …".
    if (letters.starts_with("endof") && library <= 9) {
        return FrameMarker::End;
    }
    return FrameMarker::None;
}

BookFrame FindBookFrame(const Document& doc, const LineScan& scan) {
    BookFrame frame{BookFrame::kNoFrameLine, BookFrame::kNoFrameLine};
    BlockTextReader reader(doc);
    for (std::size_t i = 0; i < scan.lines.size(); ++i) {
        const LineFacts& line = scan.lines[i];
        if (!line.IsText() || line.length > kMaxMarkerBytes) {
            continue;
        }
        const std::string_view text = reader.Text(doc.blocks[i]);
        const std::size_t lead = MeasureIndent(text).bytes;
        if (lead >= text.size() || (text[lead] != '*' && text[lead] != 'E' && text[lead] != 'e')) {
            continue;
        }
        const FrameMarker marker = MatchFrameMarker(utf8::Trim(text));
        if (marker == FrameMarker::Start) {
            frame.start = static_cast<std::uint32_t>(i);
        } else if (marker == FrameMarker::End) {
            frame.end = static_cast<std::uint32_t>(i);
            break;
        }
    }
    return frame;
}

}  // namespace Tessaly::Docs
