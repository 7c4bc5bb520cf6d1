#include "doclib/epub/ContentWriter.h"

#include <algorithm>

#include "doclib/epub/ContainerMarkup.h"
#include "doclib/epub/LinkTarget.h"
#include "doclib/epub/XhtmlText.h"

namespace Tessaly::Docs {

namespace {

constexpr std::size_t kFlushAt = 64 * 1024;
// Lists nest no deeper in the markup; deeper items stay in the innermost list.
constexpr std::size_t kMaxListNesting = 8;
// The markup of every formatting element at once, with room to spare.
constexpr std::size_t kFormatMarkupBound = 160;
// An image element around its escaped alternative text.
constexpr std::size_t kImageMarkupBound = 96;
constexpr std::size_t kLinkMarkupBound = 32;
constexpr std::size_t kNoteRefMarkupBound = 200;
// A footnote's frame and back link; the link's label is cut to kNoteMarkLimit bytes.
constexpr std::size_t kNoteMarkLimit = 64;
constexpr std::size_t kNoteFrameBound = 256 + 5 * kNoteMarkLimit;

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Cuts UTF-8 text to at most `limit` bytes without splitting a character.
std::string_view CutUtf8(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80) {
        --end;
    }
    return text.substr(0, end);
}

struct FormatTag {
    std::uint16_t bit;
    std::string_view open;
    std::string_view close;
};
constexpr FormatTag kFormatTags[] = {
    {kBold, "<b>", "</b>"},
    {kItalic, "<i>", "</i>"},
    {kUnderline, "<u>", "</u>"},
    {kStrike, "<s>", "</s>"},
    {kSuperscript, "<sup>", "</sup>"},
    {kSubscript, "<sub>", "</sub>"},
    {kEmphasis, "<em>", "</em>"},
    {kStrong, "<strong>", "</strong>"},
    {kCode, "<code>", "</code>"},
    {kKeyboard, "<kbd>", "</kbd>"},
};

std::string_view AlignmentClass(Alignment alignment) {
    switch (alignment) {
        case Alignment::Center:
            return "center";
        case Alignment::End:
            return "end";
        case Alignment::Justify:
            return "justify";
        case Alignment::Start:
            break;
    }
    return {};
}

void AppendClasses(std::string& out, const std::vector<std::string_view>& classes) {
    bool first = true;
    for (std::string_view c : classes) {
        if (c.empty()) {
            continue;
        }
        out.append(first ? " class=\"" : " ");
        out.append(c);
        first = false;
    }
    if (!first) {
        out.push_back('"');
    }
}

class ContentFile {
  public:
    ContentFile(const ContentBook& book, std::size_t index,
                const std::function<void(std::string_view)>& emit)
        : book_(book),
          doc_(*book.doc),
          plan_(*book.plan),
          piece_(plan_.pieces[index]),
          index_(index),
          emit_(emit) {}

    void Write() {
        WriteHead();
        WriteBody();
        for (std::uint32_t note : piece_.notes) {
            WriteNote(note);
        }
        out_.append("</body>\n</html>\n");
        emit_(out_);
        out_.clear();
    }

  private:
    void MaybeFlush() {
        if (out_.size() >= kFlushAt) {
            emit_(out_);
            out_.clear();
        }
    }

    std::string Title() const {
        const auto blockCount = static_cast<std::uint32_t>(doc_.blocks.size());
        const std::uint32_t last = std::min(piece_.end.block, blockCount - 1);
        for (std::uint32_t b = piece_.begin.block; blockCount > 0 && b <= last; ++b) {
            if (doc_.blocks[b].kind == BlockKind::Heading) {
                std::string label = HeadingLabel(doc_, doc_.blocks[b]);
                if (!XmlEscaped(label).empty()) {
                    return label;
                }
                break;
            }
        }
        return book_.title;
    }

    void WriteHead() {
        out_.append(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"
            "<html xmlns=\"http://www.w3.org/1999/xhtml\" "
            "xmlns:epub=\"http://www.idpf.org/2007/ops\" xml:lang=\"");
        out_.append(book_.language);
        out_.append("\" lang=\"");
        out_.append(book_.language);
        out_.append(book_.rightToLeft ? "\" dir=\"rtl\">\n" : "\">\n");
        out_.append("<head>\n<meta charset=\"UTF-8\"/>\n<title>");
        AppendXmlEscaped(out_, CutUtf8(Title(), kTitleLimit));
        out_.append(
            "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"../style.css\"/>\n"
            "</head>\n<body>\n");
    }

    void WriteBody() {
        const auto blockCount = static_cast<std::uint32_t>(doc_.blocks.size());
        bool gap = false;
        for (std::uint32_t b = piece_.begin.block; b < blockCount && b <= piece_.end.block; ++b) {
            if (b == piece_.end.block && piece_.end.offset == 0) {
                break;
            }
            const Block& block = doc_.blocks[b];
            const std::uint64_t from = b == piece_.begin.block ? piece_.begin.offset : 0;
            const std::uint64_t to = b == piece_.end.block ? piece_.end.offset : ~std::uint64_t{0};
            if (block.kind != BlockKind::ListItem) {
                CloseLists(0);
            }
            if (block.kind != BlockKind::Paragraph || !IsBlankParagraph(doc_, block)) {
                containers_.MoveTo(doc_, b, from, out_);
            }
            switch (block.kind) {
                case BlockKind::ListItem:
                    WriteListItem(block, from, to);
                    gap = false;
                    break;
                case BlockKind::SceneBreak:
                    out_.append(containers_.TakeTaskMark());
                    // A break with its marker line ("* * *") shows the marker, centred; a
                    // break without one (a section break of a word processor) is a rule. A
                    // rule typed as a run of one mark ("------") keeps its marks, cut at the
                    // width of the screen.
                    if (IsBlankParagraph(doc_, block)) {
                        out_.append("<hr class=\"scene\"/>\n");
                    } else {
                        out_.append(IsTypedRule(doc_, block)
                                        ? "<p class=\"scene rule\" role=\"separator\">"
                                        : "<p class=\"scene\" role=\"separator\">");
                        WriteSpans(block, from, to, false);
                        out_.append("</p>\n");
                    }
                    gap = false;
                    break;
                case BlockKind::PageBreak:
                    out_.append("<div class=\"page-break\"></div>\n");
                    gap = false;
                    break;
                case BlockKind::Heading:
                    WriteHeading(b, block, from, to);
                    gap = false;
                    break;
                case BlockKind::Paragraph:
                    if (IsBlankParagraph(doc_, block)) {
                        gap = true;
                        break;
                    }
                    WriteParagraph(block, from, to, gap);
                    gap = false;
                    break;
                case BlockKind::Code:
                    WriteCode(block, from, to);
                    gap = false;
                    break;
                case BlockKind::BareText:
                    out_.append(containers_.TakeTaskMark());
                    WriteSpans(block, from, to, false);
                    gap = false;
                    break;
            }
            MaybeFlush();
        }
        CloseLists(0);
        containers_.CloseAll(out_);
    }

    // A code block's text, every space and line as written; its container gave the <pre>.
    void WriteCode(const Block& block, std::uint64_t from, std::uint64_t to) {
        out_.append(containers_.TakeTaskMark());
        ForEachSpanPart(block, from, to, [this](std::uint32_t, std::string_view text) {
            AppendPreformattedText(out_, text);
        });
    }

    struct OpenList {
        bool ordered = false;
        std::uint32_t next = 0;  // the number the next item would show unnumbered
    };

    // Closes the open lists down to `depth`, each with its last item.
    void CloseLists(std::size_t depth) {
        while (lists_.size() > depth) {
            out_.append(lists_.back().ordered ? "</li></ol>\n" : "</li></ul>\n");
            lists_.pop_back();
        }
    }

    // An item nests one step deeper than the item before at most, so every list opens inside
    // an item; the numbers the reader sees are the ones written, through start and value.
    void WriteListItem(const Block& block, std::uint64_t from, std::uint64_t to) {
        const std::size_t depth = std::clamp<std::size_t>(block.level, 1, lists_.size() + 1);
        CloseLists(std::min(depth, kMaxListNesting));
        if (lists_.size() == depth && lists_.back().ordered != block.listOrdered) {
            CloseLists(depth - 1);
        }
        if (lists_.size() < depth && lists_.size() < kMaxListNesting) {
            lists_.push_back(OpenList{block.listOrdered, block.listNumber});
            if (block.listOrdered) {
                out_.append("<ol class=\"text\"");
                if (block.listNumber != 1) {
                    out_.append(" start=\"").append(std::to_string(block.listNumber)).append("\"");
                }
                out_.append(">\n");
            } else {
                out_.append("<ul class=\"text\">\n");
            }
        } else {
            out_.append("</li>\n");
        }
        OpenList& list = lists_.back();
        out_.append("<li");
        if (block.listOrdered && block.listNumber != list.next) {
            out_.append(" value=\"").append(std::to_string(block.listNumber)).append("\"");
        }
        AppendClasses(out_, {AlignmentClass(block.alignment), from > 0 ? "cont" : ""});
        out_.push_back('>');
        list.next = block.listNumber + 1;
        WriteSpans(block, from, to, false);
    }

    void WriteHeading(std::uint32_t b, const Block& block, std::uint64_t from, std::uint64_t to) {
        const char level = static_cast<char>('0' + std::clamp<int>(block.level, 1, 6));
        out_.append("<h");
        out_.push_back(level);
        if (from == 0) {
            out_.append(" id=\"");
            out_.append(HeadingId(b));
            out_.push_back('"');
        }
        AppendClasses(out_, {AlignmentClass(block.alignment)});
        out_.push_back('>');
        out_.append(containers_.TakeTaskMark());
        WriteSpans(block, from, to, false);
        out_.append("</h");
        out_.push_back(level);
        out_.append(">\n");
    }

    void WriteParagraph(const Block& block, std::uint64_t from, std::uint64_t to, bool gap) {
        out_.append("<p");
        AppendClasses(out_,
                      {block.indented && from == 0 ? "indent" : "", AlignmentClass(block.alignment),
                       gap ? "gap" : "", from > 0 ? "cont" : ""});
        out_.push_back('>');
        out_.append(containers_.TakeTaskMark());
        WriteSpans(block, from, to, false);
        out_.append("</p>\n");
    }

    // Hands the part [from, to) of the block's text to `part`, span by span.
    template <typename Part>
    void ForEachSpanPart(const Block& block, std::uint64_t from, std::uint64_t to, Part part) {
        std::uint64_t offset = 0;
        for (std::uint32_t s = 0; s < block.spanCount && offset < to; ++s) {
            const std::uint32_t spanIndex = block.firstSpan + s;
            const Span& span = doc_.spans[spanIndex];
            const std::uint64_t spanEnd = offset + span.length;
            if (spanEnd > from) {
                const std::uint64_t a = std::max(from, offset) - offset;
                const std::uint64_t z = std::min(to, spanEnd) - offset;
                part(spanIndex, doc_.SpanText(span).substr(a, z - a));
            }
            offset = spanEnd;
        }
    }

    void WriteSpans(const Block& block, std::uint64_t from, std::uint64_t to, bool inNote) {
        bool afterSpace = false;
        ForEachSpanPart(block, from, to, [&](std::uint32_t spanIndex, std::string_view text) {
            WriteSpan(spanIndex, text, inNote, afterSpace);
        });
    }

    std::string FileRef(std::uint32_t piece) const {
        return piece == index_ ? std::string() : book_.fileNames[piece];
    }

    void WriteSpan(std::uint32_t spanIndex, std::string_view text, bool inNote, bool& afterSpace) {
        const Span& span = doc_.spans[spanIndex];
        const std::uint16_t format = span.format;
        if ((format & kImage) != 0 && span.ref < book_.imageFiles.size()) {
            out_.append("<img src=\"../");
            AppendXmlEscaped(out_, book_.imageFiles[span.ref]);
            out_.append("\" alt=\"");
            AppendXmlEscaped(out_, text);
            out_.append("\"/>");
            afterSpace = false;
            return;
        }
        std::string_view close;
        // A footnote's own marks are not links again: notes do not nest.
        if ((format & kNoteRef) != 0 && span.ref < doc_.notes.size() && !inNote) {
            const std::uint32_t number = span.ref + 1;
            out_.append("<a epub:type=\"noteref\" role=\"doc-noteref\" class=\"noteref\" id=\"");
            out_.append(NoteRefId(spanIndex));
            out_.append("\" href=\"");
            out_.append(FileRef(plan_.notePiece[span.ref]));
            out_.append("#note-");
            out_.append(std::to_string(number));
            out_.append("\">");
            close = "</a>";
        } else if ((format & kLink) != 0 && span.ref < doc_.links.size()) {
            if (const auto href = SafeHref(doc_.links[span.ref])) {
                out_.append("<a href=\"");
                AppendXmlEscaped(out_, *href);
                out_.append("\">");
                close = "</a>";
            }
        }
        for (const FormatTag& tag : kFormatTags) {
            if ((format & tag.bit) != 0) {
                out_.append(tag.open);
            }
        }
        AppendXhtmlText(out_, text, afterSpace);
        for (auto it = std::rbegin(kFormatTags); it != std::rend(kFormatTags); ++it) {
            if ((format & it->bit) != 0) {
                out_.append(it->close);
            }
        }
        out_.append(close);
    }

    static std::string NoteRefId(std::uint32_t spanIndex) {
        return "nref-" + std::to_string(spanIndex);
    }

    void WriteNote(std::uint32_t n) {
        const Note& note = doc_.notes[n];
        const std::string number = std::to_string(n + 1);
        out_.append(
            "<aside epub:type=\"footnote\" role=\"doc-footnote\" class=\"footnote\" id=\"note-");
        out_.append(number);
        out_.append("\">\n");
        // The back link, labelled with the reference's own mark, opens the note's first
        // paragraph.
        std::string backLink;
        const std::uint32_t ref = plan_.noteFirstRef[n];
        if (ref != ChapterPlan::kNoSpan) {
            backLink = "<a class=\"noteback\" role=\"doc-backlink\" href=\"";
            backLink.append(FileRef(plan_.noteFirstRefPiece[n]));
            backLink.append("#");
            backLink.append(NoteRefId(ref));
            backLink.append("\">");
            std::string mark;
            bool afterSpace = false;
            AppendXhtmlText(
                mark, CollapseWhiteSpace(CutUtf8(doc_.SpanText(doc_.spans[ref]), kNoteMarkLimit)),
                afterSpace);
            backLink.append(mark.empty() ? number : mark);
            backLink.append("</a> ");
        }
        bool wroteBackLink = backLink.empty();
        const auto end = static_cast<std::size_t>(note.firstBlock) + note.blockCount;
        for (std::size_t b = note.firstBlock; b < end && b < doc_.noteBlocks.size(); ++b) {
            const Block& block = doc_.noteBlocks[b];
            if (block.kind != BlockKind::Paragraph && block.kind != BlockKind::Heading) {
                continue;
            }
            if (IsBlankParagraph(doc_, block)) {
                continue;
            }
            out_.append("<p");
            AppendClasses(out_, {AlignmentClass(block.alignment)});
            out_.push_back('>');
            if (!wroteBackLink) {
                out_.append(backLink);
                wroteBackLink = true;
            }
            WriteSpans(block, 0, ~std::uint64_t{0}, true);
            out_.append("</p>\n");
        }
        if (!wroteBackLink) {
            out_.append("<p>");
            out_.append(backLink);
            out_.append("</p>\n");
        }
        out_.append("</aside>\n");
        MaybeFlush();
    }

    const ContentBook& book_;
    const Document& doc_;
    const ChapterPlan& plan_;
    const ContentPiece& piece_;
    std::uint32_t index_;
    const std::function<void(std::string_view)>& emit_;
    std::string out_;
    std::vector<OpenList> lists_;
    ContainerStack containers_;
};

}  // namespace

bool IsTypedRule(const Document& doc, const Block& block) {
    constexpr std::size_t kMinRuleMarks = 4;
    std::string text;
    for (std::uint32_t i = 0; i < block.spanCount; ++i) {
        text += doc.SpanText(doc.spans[block.firstSpan + i]);
    }
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return false;
    }
    const std::size_t last = text.find_last_not_of(" \t");
    const char mark = text[first];
    if (mark != '-' && mark != '=' && mark != '_' && mark != '~' && mark != '*' && mark != '#') {
        return false;
    }
    // One mark run on without spaces: spaced marks ("* * *") are an ornament to show.
    const std::size_t end = text.find_first_not_of(mark, first);
    return last + 1 - first >= kMinRuleMarks &&
           (end == std::string::npos ? text.size() : end) == last + 1;
}

bool IsBlankParagraph(const Document& doc, const Block& block) {
    for (std::uint32_t i = 0; i < block.spanCount; ++i) {
        for (char c : doc.SpanText(doc.spans[block.firstSpan + i])) {
            if (!IsWhiteSpace(c)) {
                return false;
            }
        }
    }
    return true;
}

std::size_t SpanMarkupBound(const Document& doc, const Span& span) {
    std::size_t bound = kFormatMarkupBound;
    if ((span.format & kImage) != 0) {
        bound += kImageMarkupBound;
    } else if ((span.format & kNoteRef) != 0) {
        bound += kNoteRefMarkupBound;
    } else if ((span.format & kLink) != 0 && span.ref < doc.links.size()) {
        // Percent-encoding triples a byte at most; XML escaping an '&' makes five of one.
        bound += kLinkMarkupBound + 5 * doc.links[span.ref].size();
    }
    return bound;
}

std::size_t BlockBound(const Document& doc, const Block& block) {
    if (block.kind == BlockKind::PageBreak ||
        (block.kind == BlockKind::SceneBreak && IsBlankParagraph(doc, block))) {
        return kBlockMarkupBound;
    }
    if (block.kind == BlockKind::Paragraph && IsBlankParagraph(doc, block)) {
        return 0;
    }
    std::size_t bound = kBlockMarkupBound + ContainerMarkupBound(doc, block);
    if (block.kind == BlockKind::ListItem) {
        // The lists it opens and closes around it, the item's number and value attributes.
        bound += 2 * kMaxListNesting * 16 + 64;
    }
    for (std::uint32_t i = 0; i < block.spanCount; ++i) {
        const Span& span = doc.spans[block.firstSpan + i];
        bound += SpanMarkupBound(doc, span) + XhtmlTextBound(doc.SpanText(span));
    }
    return bound;
}

std::size_t NoteBound(const Document& doc, const Note& note) {
    std::size_t bound = kNoteFrameBound;
    const auto end = static_cast<std::size_t>(note.firstBlock) + note.blockCount;
    for (std::size_t b = note.firstBlock; b < end && b < doc.noteBlocks.size(); ++b) {
        bound += BlockBound(doc, doc.noteBlocks[b]);
    }
    return bound;
}

std::string HeadingId(std::uint32_t blockIndex) {
    // Appended rather than `"h" + std::to_string(...)`: GCC 12 at -O2 and above sees the
    // insert at the front of that temporary as an overlapping copy (-Wrestrict), falsely.
    std::string id(1, 'h');
    id.append(std::to_string(blockIndex));
    return id;
}

std::string HeadingLabel(const Document& doc, const Block& block) {
    std::string text;
    for (std::uint32_t i = 0; i < block.spanCount; ++i) {
        const Span& span = doc.spans[block.firstSpan + i];
        if ((span.format & kNoteRef) == 0) {
            text.append(doc.SpanText(span));
        }
    }
    return CollapseWhiteSpace(text);
}

void WriteContentFile(const ContentBook& book, std::size_t index,
                      const std::function<void(std::string_view)>& emit) {
    ContentFile(book, index, emit).Write();
}

}  // namespace Tessaly::Docs
