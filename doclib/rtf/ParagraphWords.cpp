// Paragraphs: their formatting and styles, and the breaks that end them (paragraph, line,
// page, section, table cell and row), with the shape a finished paragraph is kept in.

#include <algorithm>

#include "doclib/rtf/RtfParser.h"

namespace Tessaly::Docs::Rtf {

namespace {

std::int8_t OutlineLevel(std::int32_t param) {
    return static_cast<std::int8_t>(std::clamp<std::int32_t>(param, -1, 9));
}

}  // namespace

void RtfParser::OnParagraphWord(Word word, bool hasParam, std::int32_t param) {
    const bool on = !hasParam || param != 0;
    ParagraphState& para = state_.paragraph;
    // Paragraph formatting of the document's own text marks a document laid out by its author.
    const auto noteFormatting = [this, hasParam, param] {
        if (hasParam && param != 0 && state_.destination == Destination::kBody) {
            doc_.hasParagraphFormatting = true;
        }
    };
    switch (word) {
        case Word::kParagraphDefault:
            para = ParagraphState{};
            return;
        case Word::kStyle:
            if (state_.destination == Destination::kStyleEntry) {
                styles_.SetEntryParagraphStyle(param);
            } else {
                para.style = param;
                noteFormatting();
            }
            return;
        case Word::kOutlineLevel:
            if (state_.destination == Destination::kStyleEntry) {
                styles_.SetEntryOutlineLevel(OutlineLevel(param));
            } else {
                para.outlineLevel = OutlineLevel(param);
            }
            return;
        case Word::kAlignLeft:
            para.alignment = Alignment::Start;
            return;
        case Word::kAlignCenter:
            para.alignment = Alignment::Center;
            return;
        case Word::kAlignRight:
            para.alignment = Alignment::End;
            return;
        case Word::kAlignJustify:
            para.alignment = Alignment::Justify;
            return;
        case Word::kLeftIndent:
            para.leftIndent = param;
            noteFormatting();
            return;
        case Word::kFirstIndent:
            para.firstIndent = param;
            noteFormatting();
            return;
        case Word::kRightIndent:
        case Word::kSpaceBefore:
        case Word::kSpaceAfter:
            noteFormatting();
            return;
        case Word::kInTable:
            para.inTable = on;
            return;
        case Word::kTableLevel:
            para.inTable = param > 0;
            return;
        case Word::kPageBreakBefore:
            para.pageBreakBefore = on;
            return;

        case Word::kParagraph:
            EmitParagraphEnd();
            return;
        case Word::kLine:
            Emit("\n");
            return;
        case Word::kTab:
            Emit("\t");
            return;
        case Word::kPage:
            EmitPageBreak();
            return;
        case Word::kSection:
            listNumberShown_ = false;
            if (state_.destination == Destination::kBody) {
                Builder().Break(BlockKind::SceneBreak, Shape());
            }
            return;
        case Word::kCell:
        case Word::kNestedCell:
        case Word::kNestedRow:
            listNumberShown_ = false;
            if (InText()) {
                Builder().EndCell();
            }
            return;
        case Word::kRow:
            listNumberShown_ = false;
            if (InText()) {
                Builder().EndRow(Shape());
            }
            return;
        default:
            return;
    }
}

void RtfParser::EmitPageBreak() {
    listNumberShown_ = false;
    if (InText() && !state_.paragraph.inTable) {
        Builder().Break(BlockKind::PageBreak, Shape());
    }
}

void RtfParser::EmitParagraphEnd() {
    listNumberShown_ = false;
    if (!InText()) {
        if (state_.destination == Destination::kTitle ||
            state_.destination == Destination::kAuthor ||
            state_.destination == Destination::kSubject ||
            state_.destination == Destination::kComment) {
            Emit("\n");
        }
        return;
    }
    ParagraphBuilder& builder = Builder();
    if (state_.paragraph.inTable) {
        builder.CellParagraph();
        return;
    }
    if (builder.InRow()) {
        builder.EndRow(Shape());  // a row its writer never closed with \row
        return;
    }
    const BlockShape shape = Shape();
    if (shape.kind == BlockKind::Heading && state_.destination == Destination::kBody &&
        builder.HasOpenParagraph()) {
        doc_.hasParagraphFormatting = true;
    }
    builder.EndParagraph(shape);
}

BlockShape RtfParser::Shape() const {
    const ParagraphState& para = state_.paragraph;
    BlockShape shape;
    shape.alignment = para.alignment;
    shape.indented = para.leftIndent > 0 || para.firstIndent > 0;
    shape.pageBreakBefore = para.pageBreakBefore;
    if (para.inTable || state_.destination != Destination::kBody) {
        return shape;
    }
    int level = 0;
    if (para.outlineLevel >= 0) {
        // Outline level 9 is RTF's explicit "body text".
        level = para.outlineLevel <= 8 ? std::min(para.outlineLevel + 1, 6) : 0;
    } else {
        level = styles_.HeadingLevel(para.style);
    }
    if (level > 0) {
        shape.kind = BlockKind::Heading;
        shape.level = static_cast<std::uint8_t>(level);
    }
    return shape;
}

}  // namespace Tessaly::Docs::Rtf
