#pragma once
// Turns a reader's stream of text and breaks into a Document's blocks: one block per paragraph
// (an RTF \par, a line of plain text), one per table row (cells joined by tabs), page and
// section breaks as blocks of their own.

#include <cstdint>
#include <string>
#include <string_view>

#include "doclib/Document.h"

namespace Tessaly::Docs {

// How a finished paragraph is kept.
struct BlockShape {
    BlockKind kind = BlockKind::Paragraph;
    std::uint8_t level = 0;
    Alignment alignment = Alignment::Start;
    bool indented = false;
    bool pageBreakBefore = false;
};

class ParagraphBuilder {
  public:
    explicit ParagraphBuilder(Document& doc) : doc_(doc) {}

    void Text(std::string_view utf8, std::uint8_t format, std::uint32_t ref);
    // \par: ends the paragraph (an empty one becomes an empty block).
    void EndParagraph(const BlockShape& shape);
    // \par inside a table cell: a line break within the row.
    void CellParagraph();
    // \cell: the next cell's text follows a tab.
    void EndCell();
    // \row: the row becomes one paragraph.
    void EndRow(const BlockShape& shape);
    bool InRow() const { return inRow_; }
    // \page or \sect: ends an unfinished paragraph, then adds the break block.
    void Break(BlockKind kind, const BlockShape& shape);
    // End of the text: keeps an unfinished paragraph, drops breaks that end the document.
    void Finish(const BlockShape& shape);
    // True while a paragraph has text and no end yet.
    bool HasOpenParagraph() const { return open_; }

  private:
    void Open();

    Document& doc_;
    bool open_ = false;
    bool inRow_ = false;
    // A \par right after a break belongs to the break, not a paragraph of its own.
    bool afterBreak_ = false;
    // Tabs and line breaks of a table row, written only when more text follows, so a row
    // never ends in separators.
    std::string separators_;
};

}  // namespace Tessaly::Docs
