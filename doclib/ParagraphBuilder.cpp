#include "doclib/ParagraphBuilder.h"

namespace Tessaly::Docs {

void ParagraphBuilder::Open() {
    doc_.BeginBlock();
    open_ = true;
}

void ParagraphBuilder::Text(std::string_view utf8, std::uint8_t format, std::uint32_t ref) {
    if (utf8.empty()) {
        return;
    }
    if (!open_) {
        Open();
    }
    afterBreak_ = false;
    if (!separators_.empty()) {
        doc_.AppendText(separators_);
        separators_.clear();
    }
    doc_.AppendText(utf8, format, ref);
}

void ParagraphBuilder::EndParagraph(const BlockShape& shape) {
    if (!open_ && afterBreak_) {
        afterBreak_ = false;
        return;
    }
    if (!open_) {
        Open();
    }
    Block& block = doc_.blocks.back();
    // A heading without text would be an empty entry in the table of contents.
    if (shape.kind == BlockKind::Heading && block.spanCount > 0) {
        block.kind = BlockKind::Heading;
        block.level = shape.level;
    }
    block.alignment = shape.alignment;
    block.indented = shape.indented;
    if (shape.pageBreakBefore && doc_.blocks.size() > 1 &&
        doc_.blocks[doc_.blocks.size() - 2].kind != BlockKind::PageBreak) {
        Block pageBreak;
        pageBreak.kind = BlockKind::PageBreak;
        pageBreak.firstSpan = block.firstSpan;
        doc_.blocks.insert(doc_.blocks.end() - 1, pageBreak);
    }
    open_ = false;
    afterBreak_ = false;
    inRow_ = false;
    separators_.clear();
}

void ParagraphBuilder::CellParagraph() {
    if (open_) {
        separators_.push_back('\n');
    }
}

void ParagraphBuilder::EndCell() {
    if (!separators_.empty() && separators_.back() == '\n') {
        separators_.pop_back();
    }
    separators_.push_back('\t');
    inRow_ = true;
}

void ParagraphBuilder::EndRow(const BlockShape& shape) {
    separators_.clear();
    afterBreak_ = false;
    BlockShape row = shape;
    row.kind = BlockKind::Paragraph;
    EndParagraph(row);
}

void ParagraphBuilder::Break(BlockKind kind, const BlockShape& shape) {
    if (open_ || inRow_) {
        EndParagraph(shape);
    }
    doc_.BeginBlock(kind);
    afterBreak_ = true;
}

void ParagraphBuilder::Finish(const BlockShape& shape) {
    if (open_ || inRow_) {
        separators_.clear();
        EndParagraph(shape);
    }
    while (!doc_.blocks.empty() && (doc_.blocks.back().kind == BlockKind::PageBreak ||
                                    doc_.blocks.back().kind == BlockKind::SceneBreak)) {
        doc_.blocks.pop_back();
    }
}

}  // namespace Tessaly::Docs
