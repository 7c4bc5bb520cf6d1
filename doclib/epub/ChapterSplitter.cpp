#include "doclib/epub/ChapterSplitter.h"

#include "doclib/epub/ContentWriter.h"
#include "doclib/epub/XhtmlText.h"

namespace Tessaly::Docs {

std::uint64_t BlockLength(const Document& doc, const Block& block) {
    std::uint64_t length = 0;
    for (std::uint32_t i = 0; i < block.spanCount; ++i) {
        length += doc.spans[block.firstSpan + i].length;
    }
    return length;
}

namespace {

bool IsNoteRef(const Document& doc, const Span& span) {
    return (span.format & kNoteRef) != 0 && span.ref < doc.notes.size();
}

class Planner {
  public:
    Planner(const Document& doc, std::size_t budget)
        : doc_(doc), budget_(budget), noteSeen_(doc.notes.size(), false) {
        plan_.pieces.push_back(ContentPiece{});
    }

    ChapterPlan Run() {
        const auto blockCount = static_cast<std::uint32_t>(doc_.blocks.size());
        for (std::uint32_t b = 0; b < blockCount; ++b) {
            AddBlock(b);
        }
        plan_.pieces.back().end = BodyPosition{blockCount, 0};
        PlaceNotes(blockCount);
        return std::move(plan_);
    }

  private:
    void Cut(BodyPosition at) {
        plan_.pieces.back().end = at;
        ContentPiece next;
        next.begin = at;
        plan_.pieces.push_back(next);
        used_ = 0;
        hasContent_ = false;
    }

    // The block's bound, counting the text of footnotes it is the first to cite.
    std::size_t CostOf(const Block& block) {
        std::size_t cost = BlockBound(doc_, block);
        notesCost_ = 0;
        for (std::uint32_t i = 0; i < block.spanCount; ++i) {
            const Span& span = doc_.spans[block.firstSpan + i];
            if (IsNoteRef(doc_, span) && !noteSeen_[span.ref]) {
                noteSeen_[span.ref] = true;
                notesCost_ += NoteBound(doc_, doc_.notes[span.ref]);
            }
        }
        return cost + notesCost_;
    }

    void AddBlock(std::uint32_t b) {
        const Block& block = doc_.blocks[b];
        if (block.kind == BlockKind::Paragraph && IsBlankParagraph(doc_, block)) {
            return;
        }
        if (block.kind == BlockKind::Heading && block.level <= 2 && hasContent_) {
            Cut(BodyPosition{b, 0});
        }
        const std::size_t cost = CostOf(block);
        if (used_ + cost <= budget_) {
            used_ += cost;
            hasContent_ = true;
            return;
        }
        if (hasContent_) {
            Cut(BodyPosition{b, 0});
        }
        if (cost <= budget_) {
            used_ = cost;
            hasContent_ = true;
            return;
        }
        SplitLargeBlock(b);
    }

    // Walks the block byte by byte, cutting where the running bound reaches the budget:
    // after the last line break, else after the last space, else at a character boundary.
    void SplitLargeBlock(std::uint32_t b) {
        const Block& block = doc_.blocks[b];
        std::uint64_t pieceStart = 0;  // offset where the current piece took up this block
        std::uint64_t lastBreak = 0;   // offsets just after a '\n' / ' ', 0 when none yet
        std::uint64_t lastSpace = 0;
        std::size_t sinceBreak = 0;  // bound of what lies after lastBreak / lastSpace
        std::size_t sinceSpace = 0;
        used_ = kBlockMarkupBound;
        hasContent_ = true;
        std::uint64_t offset = 0;
        for (std::uint32_t s = 0; s < block.spanCount; ++s) {
            const Span& span = doc_.spans[block.firstSpan + s];
            // The span's markup is repeated in every piece it reaches; counting it once per
            // cut below keeps the bound.
            const std::size_t markup = SpanMarkupBound(doc_, span);
            used_ += markup;
            sinceBreak += markup;
            sinceSpace += markup;
            const std::string_view text = doc_.SpanText(span);
            for (std::size_t i = 0; i < text.size(); ++i, ++offset) {
                const auto byte = static_cast<unsigned char>(text[i]);
                const std::size_t cost = XhtmlByteBound(byte);
                if (used_ + cost > budget_ && offset > pieceStart) {
                    std::uint64_t cut = 0;
                    std::size_t carried = 0;
                    if (lastBreak > pieceStart) {
                        cut = lastBreak;
                        carried = sinceBreak;
                    } else if (lastSpace > pieceStart) {
                        cut = lastSpace;
                        carried = sinceSpace;
                    } else {
                        // No word boundary in a whole file's worth of text: cut before this
                        // character (a continuation byte belongs to the one before).
                        cut = offset;
                        std::size_t k = i;
                        while (k > 0 && cut > pieceStart + 1 &&
                               (static_cast<unsigned char>(text[k]) & 0xc0) == 0x80) {
                            --k;
                            --cut;
                            carried += XhtmlByteBound(static_cast<unsigned char>(text[k]));
                        }
                    }
                    Cut(BodyPosition{b, cut});
                    pieceStart = cut;
                    lastBreak = 0;
                    lastSpace = 0;
                    used_ = kBlockMarkupBound + markup + carried;
                    sinceBreak = used_;
                    sinceSpace = used_;
                    hasContent_ = true;
                }
                used_ += cost;
                sinceBreak += cost;
                sinceSpace += cost;
                if (byte == '\n') {
                    lastBreak = offset + 1;
                    sinceBreak = 0;
                } else if (byte == ' ') {
                    lastSpace = offset + 1;
                    sinceSpace = 0;
                }
            }
        }
        // Footnotes this block cites first travel with the piece that ends the block.
        used_ += notesCost_;
    }

    // Each cited note goes into the piece of its first citation; notes nothing cites go at
    // the end of the book, in further pieces when the last one is full.
    void PlaceNotes(std::uint32_t blockCount) {
        const std::size_t noteCount = doc_.notes.size();
        plan_.notePiece.assign(noteCount, ChapterPlan::kNoSpan);
        plan_.noteFirstRef.assign(noteCount, ChapterPlan::kNoSpan);
        plan_.noteFirstRefPiece.assign(noteCount, ChapterPlan::kNoSpan);
        for (std::uint32_t p = 0; p < plan_.pieces.size(); ++p) {
            const ContentPiece& piece = plan_.pieces[p];
            for (std::uint32_t b = piece.begin.block; b < blockCount && b <= piece.end.block; ++b) {
                if (b == piece.end.block && piece.end.offset == 0) {
                    break;
                }
                const Block& block = doc_.blocks[b];
                const std::uint64_t from = b == piece.begin.block ? piece.begin.offset : 0;
                const std::uint64_t to =
                    b == piece.end.block ? piece.end.offset : ~std::uint64_t{0};
                std::uint64_t offset = 0;
                for (std::uint32_t s = 0; s < block.spanCount; ++s) {
                    const std::uint32_t spanIndex = block.firstSpan + s;
                    const Span& span = doc_.spans[spanIndex];
                    if (IsNoteRef(doc_, span) && offset >= from && offset < to &&
                        plan_.noteFirstRef[span.ref] == ChapterPlan::kNoSpan) {
                        plan_.noteFirstRef[span.ref] = spanIndex;
                        plan_.noteFirstRefPiece[span.ref] = p;
                        plan_.notePiece[span.ref] = p;
                        plan_.pieces[p].notes.push_back(span.ref);
                    }
                    offset += span.length;
                }
            }
        }
        for (std::uint32_t n = 0; n < noteCount; ++n) {
            if (plan_.notePiece[n] != ChapterPlan::kNoSpan) {
                continue;
            }
            const std::size_t cost = NoteBound(doc_, doc_.notes[n]);
            if (used_ + cost > budget_ && (hasContent_ || !plan_.pieces.back().notes.empty())) {
                Cut(BodyPosition{blockCount, 0});
                plan_.pieces.back().end = BodyPosition{blockCount, 0};
            }
            used_ += cost;
            plan_.notePiece[n] = static_cast<std::uint32_t>(plan_.pieces.size() - 1);
            plan_.pieces.back().notes.push_back(n);
        }
    }

    const Document& doc_;
    std::size_t budget_;
    std::vector<bool> noteSeen_;
    ChapterPlan plan_;
    std::size_t used_ = 0;
    std::size_t notesCost_ = 0;  // footnotes first cited by the block CostOf last saw
    bool hasContent_ = false;
};

}  // namespace

ChapterPlan PlanChapters(const Document& doc, std::size_t bodyBudget) {
    return Planner(doc, bodyBudget).Run();
}

}  // namespace Tessaly::Docs
