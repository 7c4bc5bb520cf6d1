#include "doclib/structure/DocumentRebuilder.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "doclib/HugePages.h"
#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/LineJoin.h"
#include "doclib/structure/TextLine.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

class Rebuilder {
  public:
    Rebuilder(const Document& doc, const LineScan& scan) : doc_(doc), scan_(scan), reader_(doc) {
        out_.metadata = doc.metadata;
        out_.links = doc.links;
        out_.notes = doc.notes;
        out_.hasParagraphFormatting = doc.hasParagraphFormatting;
        // Joins add a byte each; nothing else grows. The arena is not asked for huge pages: on
        // a virtual machine, the rebuild of 100 MB took about twice as long when it was (its
        // huge pages came in slower than ordinary pages the process had freed).
        out_.text.reserve(doc.text.size() + doc.blocks.size());
    }

    Document Build(const std::vector<Unit>& units) {
        out_.blocks.reserve(units.size() + doc_.noteBlocks.size());
        // A unit is one span unless formatting splits it; plain text never does.
        out_.spans.reserve(units.size() + doc_.noteBlocks.size());
        AdviseHugePagesFor(out_.blocks);
        AdviseHugePagesFor(out_.spans);
        for (const Unit& unit : units) {
            switch (unit.kind) {
                case UnitKind::Copy:
                    out_.blocks.push_back(doc_.blocks[unit.first]);
                    CopyBlockSpans(doc_.blocks[unit.first]);
                    break;
                case UnitKind::SceneBreak:
                    // The ornament ("* * *") is the author's text and stays with the break.
                    BuildFromLines(unit);
                    out_.blocks.back().kind = BlockKind::SceneBreak;
                    out_.blocks.back().alignment = Alignment::Center;
                    break;
                case UnitKind::Paragraph:
                case UnitKind::Heading:
                case UnitKind::ListItem:
                    BuildFromLines(unit);
                    break;
            }
        }
        for (const Block& note : doc_.noteBlocks) {
            // Note paragraphs share the span list; build each as a block, then move it over.
            out_.blocks.push_back(note);
            CopyBlockSpans(note);
            out_.noteBlocks.push_back(out_.blocks.back());
            out_.blocks.pop_back();
        }
        return std::move(out_);
    }

  private:
    void Append(std::string_view text, std::uint8_t format, std::uint32_t ref) {
        out_.AppendText(text, format, ref);
    }

    static BlockKind KindOf(UnitKind kind) {
        switch (kind) {
            case UnitKind::Heading:
                return BlockKind::Heading;
            case UnitKind::ListItem:
                return BlockKind::ListItem;
            default:
                return BlockKind::Paragraph;
        }
    }

    static std::size_t LeadingBlanks(std::string_view text) { return MeasureIndent(text).bytes; }

    // The indentation every line of a unit kept line by line shares: layout, not text.
    std::size_t CommonIndent(const Unit& unit) {
        std::size_t common = ~std::size_t{0};
        for (std::uint32_t i = unit.first; i < unit.first + unit.count; ++i) {
            if (!scan_.lines[i].Has(kLineBlank)) {
                common = std::min<std::size_t>(common, scan_.lines[i].indent);
            }
        }
        return common == ~std::size_t{0} ? 0 : common;
    }

    // The last block of out_ receives the spans of `block` (its firstSpan set here).
    void CopyBlockSpans(const Block& block) {
        Block& target = out_.blocks.back();
        target.firstSpan = static_cast<std::uint32_t>(out_.spans.size());
        target.spanCount = 0;
        for (std::uint32_t s = 0; s < block.spanCount; ++s) {
            const Span& span = doc_.spans[block.firstSpan + s];
            Append(doc_.SpanText(span), span.format, span.ref);
        }
    }

    // Appends the part [begin, end) of the block's text, span by span.
    void AppendRange(const Block& block, std::size_t begin, std::size_t end) {
        std::size_t at = 0;
        for (std::uint32_t s = 0; s < block.spanCount && at < end; ++s) {
            const Span& span = doc_.spans[block.firstSpan + s];
            const std::size_t spanEnd = at + span.length;
            if (spanEnd > begin) {
                const std::size_t from = begin > at ? begin - at : 0;
                const std::size_t to = (end < spanEnd ? end : spanEnd) - at;
                Append(doc_.SpanText(span).substr(from, to - from), span.format, span.ref);
            }
            at = spanEnd;
        }
    }

    // A heading's markup ("## ", " ===") and the blanks beside it are no part of its text: the
    // lead opens its first line, the trail closes its last.
    static void LeaveOutMarkup(std::string_view text, std::size_t lead, std::size_t trail,
                               std::size_t& begin, std::size_t& end) {
        if (lead + trail >= end - begin) {
            return;
        }
        begin += lead;
        end -= trail;
        begin += LeadingBlanks(text.substr(begin, end - begin));
        end -= TrailingBlankBytes(text.substr(begin, end - begin));
    }

    void BuildFromLines(const Unit& unit) {
        const Block& head = doc_.blocks[unit.first];
        Block& block = out_.BeginBlock(KindOf(unit.kind), unit.level);
        block.alignment = head.alignment;
        block.listOrdered = unit.ordered;
        block.listNumber = unit.number;
        const std::size_t common = unit.indent == IndentRule::StripCommon ? CommonIndent(unit) : 0;
        bool firstPiece = true;
        std::uint32_t previous = 0;
        for (std::uint32_t i = unit.first; i < unit.first + unit.count; ++i) {
            if (scan_.lines[i].Has(kLineBlank)) {
                continue;
            }
            const Block& source = doc_.blocks[i];
            const std::string_view text = reader_.Text(source);
            std::size_t begin = 0;
            std::size_t end = text.size();
            if (unit.indent == IndentRule::StripAll) {
                begin = LeadingBlanks(text);
            } else {
                begin = IndentBytesFor(text, static_cast<std::uint32_t>(common));
            }
            end -= std::min(end - begin, TrailingBlankBytes(text.substr(begin)));
            const std::size_t lead = i == unit.first ? unit.markupLead : 0;
            const std::size_t trail = i + 1 == unit.first + unit.count ? unit.markupTrail : 0;
            if (lead != 0 || trail != 0) {
                LeaveOutMarkup(text, lead, trail, begin, end);
            }
            if (!firstPiece) {
                if (unit.joint == Joint::Lines) {
                    out_.AppendText("\n");
                } else if (!scan_.lines[previous].Has(kLineEndsInDash) &&
                           SpaceAtJoin(tail_, text.substr(begin, end - begin))) {
                    out_.AppendText(" ");
                }
            }
            AppendRange(source, begin, end);
            // The end of the line, for the next join: its last word is enough. A line in the
            // arena stays where it is; one gathered from scattered spans is copied.
            const std::string_view piece = text.substr(begin, end - begin);
            const std::size_t keep = std::min<std::size_t>(piece.size(), kJoinContext);
            const bool inArena = piece.data() >= doc_.text.data() &&
                                 piece.data() <= doc_.text.data() + doc_.text.size();
            if (inArena) {
                tail_ = piece.substr(piece.size() - keep);
            } else {
                tailCopy_.assign(piece.substr(piece.size() - keep));
                tail_ = tailCopy_;
            }
            firstPiece = false;
            previous = i;
        }
    }

    // Bytes of a line's end that the join looks at (a cut web address included).
    static constexpr std::size_t kJoinContext = 256;

    const Document& doc_;
    const LineScan& scan_;
    BlockTextReader reader_;
    Document out_;
    std::string_view tail_;
    std::string tailCopy_;
};

}  // namespace

void RebuildDocument(Document& doc, const LineScan& scan, const std::vector<Unit>& units) {
    Document rebuilt = Rebuilder(doc, scan).Build(units);
    doc = std::move(rebuilt);
}

}  // namespace Tessaly::Docs
