#include "doclib/structure/DocumentRebuilder.h"

#include <string>
#include <string_view>
#include <utility>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/DashRule.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

class Rebuilder {
  public:
    Rebuilder(const Document& doc, const LineScan& scan, bool emDashes)
        : doc_(doc), scan_(scan), reader_(doc), emDashes_(emDashes) {
        out_.metadata = doc.metadata;
        out_.links = doc.links;
        out_.notes = doc.notes;
        out_.hasParagraphFormatting = doc.hasParagraphFormatting;
        // Joins add a byte each and dashes one more; nothing else grows.
        out_.text.reserve(doc.text.size() + 2 * doc.blocks.size() +
                          (emDashes ? scan.dashesBetweenWords : 0));
    }

    Document Build(const std::vector<Unit>& units) {
        out_.blocks.reserve(units.size());
        for (const Unit& unit : units) {
            switch (unit.kind) {
                case UnitKind::Copy:
                    out_.blocks.push_back(doc_.blocks[unit.first]);
                    CopyBlockSpans(doc_.blocks[unit.first]);
                    break;
                case UnitKind::SceneBreak:
                    out_.BeginBlock(BlockKind::SceneBreak).alignment = Alignment::Center;
                    break;
                case UnitKind::Paragraph:
                case UnitKind::Heading:
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
        if (emDashes_ && text.find("--") != std::string_view::npos) {
            dashed_.clear();
            AppendWithEmDashes(dashed_, text);
            out_.AppendText(dashed_, format, ref);
        } else {
            out_.AppendText(text, format, ref);
        }
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

    void BuildFromLines(const Unit& unit) {
        const Block& head = doc_.blocks[unit.first];
        Block& block = out_.BeginBlock(
            unit.kind == UnitKind::Heading ? BlockKind::Heading : BlockKind::Paragraph, unit.level);
        block.alignment = head.alignment;
        bool firstPiece = true;
        std::uint32_t previous = 0;
        for (std::uint32_t i = unit.first; i < unit.first + unit.count; ++i) {
            if (scan_.lines[i].Has(kLineBlank)) {
                continue;
            }
            if (!firstPiece) {
                if (unit.joint == Joint::Lines) {
                    out_.AppendText("\n");
                } else if (!scan_.lines[previous].Has(kLineEndsInDash)) {
                    out_.AppendText(" ");
                }
            }
            const Block& source = doc_.blocks[i];
            const std::string_view text = reader_.Text(source);
            std::size_t begin = 0;
            std::size_t end = text.size();
            if (unit.stripIndent) {
                while (begin < end && utf8::IsBlankByte(text[begin])) {
                    ++begin;
                }
            }
            while (end > begin && utf8::IsBlankByte(text[end - 1])) {
                --end;
            }
            AppendRange(source, begin, end);
            firstPiece = false;
            previous = i;
        }
    }

    const Document& doc_;
    const LineScan& scan_;
    BlockTextReader reader_;
    bool emDashes_;
    Document out_;
    std::string dashed_;
};

}  // namespace

void RebuildDocument(Document& doc, const LineScan& scan, const std::vector<Unit>& units,
                     bool emDashes) {
    Document rebuilt = Rebuilder(doc, scan, emDashes).Build(units);
    doc = std::move(rebuilt);
}

}  // namespace Tessaly::Docs
