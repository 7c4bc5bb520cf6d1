#pragma once
// The XHTML content documents: one per planned piece of the body, each with the footnotes
// the plan gives it. Also the size bounds the chapter splitter plans with, kept here beside
// the markup they bound.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "doclib/Document.h"
#include "doclib/epub/ChapterSplitter.h"

namespace Tessaly::Docs {

// No content file grows above this many bytes (reading systems load a file whole).
constexpr std::size_t kContentFileLimit = 260000;
// The most a content file's head, foot and title take.
constexpr std::size_t kContentFrameBound = 2048;
// The most markup a block adds around its text (the element, its id and classes).
constexpr std::size_t kBlockMarkupBound = 128;
// A content file's <title> is cut to this many bytes.
constexpr std::size_t kTitleLimit = 200;

// An empty paragraph, or one of nothing but white space: it is not written (a run of empty
// <p> elements reads as stray gaps), the next paragraph gets a little space above instead.
bool IsBlankParagraph(const Document& doc, const Block& block);
// A scene break typed as a rule: one mark run on four times or more ("------", "******"). Its
// marks are cut at the width of the screen: a run that long is a word no screen can break.
bool IsTypedRule(const Document& doc, const Block& block);
// The most markup one span adds around its text, a footnote reference's link included.
std::size_t SpanMarkupBound(const Document& doc, const Span& span);
// The most bytes a footnote's text takes at the end of a content file.
std::size_t NoteBound(const Document& doc, const Note& note);
// The most bytes a whole block takes (0 for a blank paragraph).
std::size_t BlockBound(const Document& doc, const Block& block);

struct ContentBook {
    const Document* doc = nullptr;
    const ChapterPlan* plan = nullptr;
    std::vector<std::string> fileNames;  // per piece, relative to each other (same folder)
    // Per image of the document, its file relative to the package folder ("images/i1.png").
    std::vector<std::string> imageFiles;
    std::string title;     // the book's title, plain UTF-8
    std::string language;  // BCP 47
    bool rightToLeft = false;
};

// The id of a heading's element, for links from the table of contents.
std::string HeadingId(std::uint32_t blockIndex);

// The label of a heading in the table of contents: its text without footnote marks, on one
// line. Empty when the heading has no text.
std::string HeadingLabel(const Document& doc, const Block& block);

// Writes piece `index` as a complete XHTML document; output arrives in chunks at `emit`.
void WriteContentFile(const ContentBook& book, std::size_t index,
                      const std::function<void(std::string_view)>& emit);

}  // namespace Tessaly::Docs
