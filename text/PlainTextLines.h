#pragma once
// Plain text as the paragraphs of a book: every line a paragraph. Lines end at CR LF, at a
// lone LF and at a lone CR; the last line is a paragraph whether or not it has a line end, and
// an empty text has none. A tab stays a tab, a form feed is a page break, a vertical tab a line
// break within the paragraph; other control characters are no text a reader can see and are
// left out.
//
// The staging document and the document library's own reading of a text both walk a text
// here, so the two cannot disagree about where a paragraph ends.

#include <string_view>

namespace text {

class PlainTextSink {
  public:
    virtual ~PlainTextSink() = default;
    // A run of the line's characters, with no control character (below U+0020) in it.
    virtual void Text(std::string_view utf8) = 0;
    virtual void Tab() = 0;
    virtual void LineBreak() = 0;
    virtual void PageBreak() = 0;
    // The end of a line: one paragraph.
    virtual void EndLine() = 0;
};

// Hands `utf8` to `sink` run by run. Without `paragraphs` the text is one line (a title):
// line ends are dropped and EndLine is never called.
void WalkPlainText(std::string_view utf8, bool paragraphs, PlainTextSink& sink);

}  // namespace text
