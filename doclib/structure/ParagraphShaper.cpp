#include "doclib/structure/ParagraphShaper.h"

#include <algorithm>

namespace Tessaly::Docs {

namespace {

constexpr std::uint16_t kColumnsOnly = kLinePreformatted | kLineCodeLike;
// Lines of verse rarely run this long; wrapped prose lines nearly always do.
constexpr std::uint32_t kLongVerseLine = 60;
// A line wrapped by hand reaches this share of the width, in tenths.
constexpr std::uint32_t kRaggedTenths = 7;
// Markdown's code block stands this many columns deeper than the text.
constexpr std::uint16_t kMarkdownCodeIndent = 4;

class Shaper {
  public:
    Shaper(const LineScan& scan, const DocumentShape& shape, const LineMarks& marks)
        : scan_(scan), shape_(shape), marks_(marks) {}

    std::vector<Unit> Run(bool keepParagraphs) {
        const std::size_t n = scan_.lines.size();
        // At most a unit a line: room reserved once, its pages touched only as units are made.
        units_.reserve(n);
        for (std::size_t i = 0; i < n;) {
            const LineFacts& line = scan_.lines[i];
            const LineMark mark = marks_[i];
            if (line.Has(kLineBlank) || mark.role == LineRole::Decoration) {
                ++i;
            } else if (mark.role == LineRole::SceneBreak) {
                Emit(i, 1, UnitKind::SceneBreak, Joint::Words, true);
                ++i;
            } else if (mark.role == LineRole::Heading) {
                i += EmitHeading(i, mark.level);
            } else if (mark.role == LineRole::ListItem) {
                i += EmitListItem(i, mark);
            } else if (keepParagraphs || !line.IsText()) {
                Emit(i, 1, UnitKind::Copy, Joint::Words, false);
                ++i;
            } else {
                std::size_t end = i + 1;
                while (end < n && InGroup(end)) {
                    ++end;
                }
                EmitGroup(i, end);
                i = end;
            }
        }
        return std::move(units_);
    }

  private:
    bool InGroup(std::size_t i) const {
        return scan_.lines[i].IsText() && marks_[i].role == LineRole::Text;
    }

    Unit& Emit(std::size_t first, std::size_t count, UnitKind kind, Joint joint, bool strip,
               std::uint8_t level = 0) {
        Unit unit;
        unit.first = static_cast<std::uint32_t>(first);
        unit.count = static_cast<std::uint32_t>(count);
        unit.kind = kind;
        unit.joint = joint;
        unit.indent = strip ? IndentRule::StripAll : IndentRule::Keep;
        unit.level = level;
        units_.push_back(unit);
        return units_.back();
    }

    // The item line and its continuation lines; blank lines inside are skipped.
    std::size_t EmitListItem(std::size_t i, const LineMark& mark) {
        std::size_t end = i + 1;
        std::size_t last = i;
        while (end < marks_.size() && (marks_[end].role == LineRole::ListContinuation ||
                                       scan_.lines[end].Has(kLineBlank))) {
            if (marks_[end].role == LineRole::ListContinuation) {
                last = end;
            }
            ++end;
        }
        Unit& unit = Emit(i, last + 1 - i, UnitKind::ListItem, Joint::Words, true, mark.level);
        unit.ordered = mark.ordered;
        unit.number = mark.number;
        return last + 1 - i;
    }

    std::size_t EmitHeading(std::size_t i, std::uint8_t level) {
        std::size_t lines = 1;
        while (i + lines < marks_.size() &&
               marks_[i + lines].role == LineRole::HeadingContinuation) {
            ++lines;
        }
        if (lines > 1) {
            // A framed title opens its first line and closes its last.
            Unit& unit = Emit(i, lines, UnitKind::Heading, Joint::Words, true, level);
            unit.markupLead = marks_[i].markupLead;
            unit.markupTrail = marks_[i + lines - 1].markupTrail;
            return lines;
        }
        if (marks_[i].markupLead != 0 || marks_[i].markupTrail != 0) {
            Unit& unit = Emit(i, 1, UnitKind::Heading, Joint::Lines, true, level);
            unit.markupLead = marks_[i].markupLead;
            unit.markupTrail = marks_[i].markupTrail;
            return 1;
        }
        std::size_t count = 1;
        if (i + 1 < marks_.size() && marks_[i + 1].role == LineRole::Subtitle) {
            count = 2;
        } else if (i + 2 < marks_.size() && scan_.lines[i + 1].Has(kLineBlank) &&
                   marks_[i + 2].role == LineRole::Subtitle) {
            count = 3;
        }
        Emit(i, count, UnitKind::Heading, Joint::Lines, true, level);
        return count;
    }

    // A line of its own is prose, its indent layout, unless the text is verse or a list whose
    // indents mean something; a lone line of code or of a table has no other line to keep
    // its indentation against.
    bool StripSingle(std::size_t) const { return shape_.prose; }

    void EmitSingles(std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            Emit(i, 1, UnitKind::Paragraph, Joint::Words, StripSingle(i));
        }
    }

    // In text written without spaces, a line the wrap cut goes on under a hanging indent
    // ("答：…毎月" over "    一日に…"): line `i` continues line `i - 1`.
    bool ContinuesUnderHangingIndent(std::size_t i) const {
        const LineFacts& previous = scan_.lines[i - 1];
        const LineFacts& line = scan_.lines[i];
        return line.indent > previous.indent && previous.Has(kLineEndsSpaceless) &&
               line.Has(kLineStartsSpaceless) && !line.Has(kColumnsOnly | kLineListItem) &&
               shape_.Wrapped(scan_, i - 1);
    }

    // Lines kept as they are, a group of them one paragraph with its breaks.
    void EmitKeptRun(std::size_t begin, std::size_t end) {
        if (end - begin >= 2) {
            Emit(begin, end - begin, UnitKind::Paragraph, Joint::Lines, false).indent =
                IndentRule::StripCommon;
        } else if (end > begin) {
            Emit(begin, 1, UnitKind::Paragraph, Joint::Words, true);
        }
    }

    // The lines that continue one another under a hanging indent are joined; the group's other
    // lines keep their breaks. False when no line of the group continues another.
    bool EmitHangingContinuations(std::size_t begin, std::size_t end) {
        bool any = false;
        for (std::size_t i = begin + 1; i < end && !any; ++i) {
            any = ContinuesUnderHangingIndent(i);
        }
        if (!any) {
            return false;
        }
        std::size_t kept = begin;
        for (std::size_t i = begin; i < end;) {
            std::size_t next = i + 1;
            while (next < end && ContinuesUnderHangingIndent(next)) {
                ++next;
            }
            if (next - i > 1) {
                EmitKeptRun(kept, i);
                Emit(i, next - i, UnitKind::Paragraph, Joint::Words, true);
                kept = next;
            }
            i = next;
        }
        EmitKeptRun(kept, end);
        return true;
    }

    void EmitKept(std::size_t begin, std::size_t end) {
        if (EmitHangingContinuations(begin, end)) {
            return;
        }
        const std::size_t count = end - begin;
        bool longLine = false;
        std::size_t columns = 0;
        for (std::size_t i = begin; i < end; ++i) {
            longLine = longLine || scan_.lines[i].length > kLongLine;
            columns += scan_.lines[i].Has(kColumnsOnly) ? 1 : 0;
        }
        // A table or a listing is one block however long, its rows one line each.
        if (count >= 2 && columns * 5 >= count * 4) {
            Emit(begin, count, UnitKind::Paragraph, Joint::Lines, false).indent =
                IndentRule::StripCommon;
            return;
        }
        if (shape_.blankSeparated && count >= 2 && count <= kMaxKeptGroup && !longLine) {
            Emit(begin, count, UnitKind::Paragraph, Joint::Lines, false).indent =
                IndentRule::StripCommon;
        } else {
            EmitSingles(begin, end);
        }
    }

    // The line runs on into the next: the wrap cut it, or, in text wrapped by hand short of
    // the width and parted by blank lines, it reaches most of the way and the next line goes
    // on in lowercase, in a group that opens as a sentence does (a block of commands or
    // settings opens in lowercase or with a comment's mark).
    bool RunsOn(std::size_t i, std::size_t groupBegin) const {
        if (shape_.Wrapped(scan_, i)) {
            return true;
        }
        const LineFacts& line = scan_.lines[i];
        const LineFacts& next = scan_.lines[i + 1];
        if (shape_.markdownParagraphs) {
            // A line of Markdown's paragraph goes on in the next unless that opens a list
            // item or is code or a table (set in columns or four columns deeper).
            return line.IsPlainText() && next.IsPlainText() && !next.Has(kLineListItem) &&
                   !line.Has(kColumnsOnly) && !next.Has(kColumnsOnly) &&
                   next.indent < line.indent + kMarkdownCodeIndent;
        }
        return shape_.hardWrapped && shape_.blankSeparated &&
               scan_.lines[groupBegin].Has(kLineStartsUpper) && line.Has(kLineStartsWord) &&
               line.IsPlainText() && next.IsPlainText() && next.Has(kLineStartsLower) &&
               line.length * 10 >= shape_.wrapWidth * kRaggedTenths && next.indent == line.indent &&
               !line.Has(kLineCodeLike) && !next.Has(kLineCodeLike);
    }

    bool Joinable(std::size_t i, std::size_t groupBegin) const {
        const LineFacts& line = scan_.lines[i];
        const LineFacts& next = scan_.lines[i + 1];
        if (!RunsOn(i, groupBegin) || line.Has(kColumnsOnly | kLineOrnament) ||
            next.Has(kColumnsOnly | kLineOrnament | kLineListItem)) {
            return false;
        }
        return !(shape_.indentMarked && next.indent > line.indent);
    }

    // Between blank lines, a group is one wrapped paragraph when most of its lines were cut
    // by the wrap, none is set in columns, and (for three lines or more) it does not start
    // every line with a capital, as verse does.
    bool GroupIsWrapped(std::size_t begin, std::size_t end) const {
        const std::size_t count = end - begin;
        if (count == 1) {
            return true;
        }
        std::size_t wrapped = 0;
        std::size_t columns = 0;
        std::size_t cased = 0;
        std::size_t upper = 0;
        std::size_t spaceless = 0;  // joins within Han or kana text
        std::uint32_t shortest = ~std::uint32_t{0};
        for (std::size_t i = begin; i < end; ++i) {
            const LineFacts& line = scan_.lines[i];
            if (i + 1 < end) {
                shortest = std::min(shortest, line.length);
            }
            columns += line.Has(kColumnsOnly) ? 1 : 0;
            if (i + 1 < end && RunsOn(i, begin)) {
                ++wrapped;
                spaceless +=
                    line.Has(kLineEndsSpaceless) || scan_.lines[i + 1].Has(kLineStartsSpaceless)
                        ? 1
                        : 0;
            }
            if (i > begin && line.Has(kLineStartsLower | kLineStartsUpper)) {
                ++cased;
                upper += line.Has(kLineStartsUpper) ? 1 : 0;
            }
        }
        if (wrapped * 3 < (count - 1) * 2 || columns * 3 >= count) {
            return false;
        }
        // Long lines that all reach the wrap are a wrapped paragraph, even one listing names
        // with a capital at the head of every line; verse lines are shorter.
        if (wrapped == count - 1 && shortest >= kLongVerseLine) {
            return true;
        }
        // Only where most lines open with a cased letter: in Han or kana text the few that
        // do open with a Latin name, capitalised, and a line cut inside the text of such a
        // script is prose whatever the capitals say.
        return count < 3 || spaceless > 0 || cased < 2 || cased * 2 < count - 1 || upper < cased;
    }

    void EmitJoined(std::size_t begin, std::size_t end) {
        std::size_t start = begin;
        for (std::size_t i = begin; i < end; ++i) {
            if (i + 1 < end && Joinable(i, begin)) {
                continue;
            }
            if (i == start) {
                Emit(start, 1, UnitKind::Paragraph, Joint::Words, StripSingle(start));
            } else {
                Emit(start, i + 1 - start, UnitKind::Paragraph, Joint::Words, true);
            }
            start = i + 1;
        }
    }

    // Code in Markdown: a fenced block, a line set in columns, or a line four columns in.
    bool MarkdownCode(std::size_t i) const {
        return scan_.lines[i].Has(kColumnsOnly) || scan_.lines[i].indent >= kMarkdownCodeIndent;
    }

    // A group of Markdown: its runs of code keep their lines; the lines of prose between them
    // are joined where each runs on into the next.
    void EmitMarkdownGroup(std::size_t begin, std::size_t end) {
        std::size_t start = begin;
        while (start < end) {
            const bool code = MarkdownCode(start);
            std::size_t stop = start + 1;
            while (stop < end &&
                   (code ? MarkdownCode(stop) : !MarkdownCode(stop) && RunsOn(stop - 1, begin))) {
                ++stop;
            }
            if (code) {
                EmitKeptRun(start, stop);
            } else {
                Emit(start, stop - start, UnitKind::Paragraph, Joint::Words, true);
            }
            start = stop;
        }
    }

    void EmitGroup(std::size_t begin, std::size_t end) {
        if (shape_.markdownParagraphs) {
            EmitMarkdownGroup(begin, end);
        } else if (!shape_.hardWrapped) {
            EmitKept(begin, end);
        } else if (!shape_.blankSeparated || GroupIsWrapped(begin, end)) {
            EmitJoined(begin, end);
        } else {
            EmitKept(begin, end);
        }
    }

    const LineScan& scan_;
    const DocumentShape& shape_;
    const LineMarks& marks_;
    std::vector<Unit> units_;
};

}  // namespace

std::vector<Unit> ShapeParagraphs(const LineScan& scan, const DocumentShape& shape,
                                  const LineMarks& marks, bool keepParagraphs) {
    return Shaper(scan, shape, marks).Run(keepParagraphs);
}

}  // namespace Tessaly::Docs
