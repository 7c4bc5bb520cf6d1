#include "doclib/structure/OutlineDetector.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/ChapterLine.h"
#include "doclib/structure/HeadingShape.h"
#include "doclib/structure/PageHeader.h"
#include "doclib/structure/SectionNumber.h"
#include "doclib/structure/TextLine.h"
#include "doclib/structure/WrappedHeadingLine.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kMaxOutlineHeadingColumns = 160;
constexpr std::size_t kListRun = 3;
constexpr std::uint8_t kMaxLevel = 6;
constexpr std::size_t kMinSectionsAmongLines = 3;
// Numbered lines looked at ahead of a candidate for the numbering it broke off.
constexpr std::size_t kResumeWindow = 16;
// Lines looked at around a numbered line for the items beside it in a list.
constexpr std::size_t kItemLookahead = 4;
// A heading the width broke goes on in this many lines at most.
constexpr std::size_t kMaxLinesGoneOn = 2;
// Columns of a common word and the space before it.
constexpr std::uint32_t kCommonWordColumns = 12;
// Bytes of the word a chapter line opens with before its number ("Chapter", "فصل", "第 ").
constexpr std::size_t kMaxChapterWordBytes = 16;

struct OutlineCandidate {
    std::uint32_t line = 0;
    SectionPath path;
    bool chapter = false;  // a chapter line ("Chapter 3") already marked as a heading
    bool weak = false;     // taken only where its number runs on from the heading before
    bool accepted = false;
};

std::vector<bool> ContentsLines(std::size_t lines, const std::vector<ContentsList>& contents) {
    std::vector<bool> inside(lines, false);
    for (const ContentsList& list : contents) {
        for (std::uint32_t i = list.heading; i < list.end && i < lines; ++i) {
            inside[i] = true;
        }
    }
    return inside;
}

class Outline {
  public:
    Outline(const Document& doc, const LineScan& scan, const DocumentShape& shape,
            const std::vector<ContentsList>& contents, LineMarks& marks)
        : doc_(doc),
          reader_(doc),
          scan_(scan),
          shape_(shape),
          contents_(contents),
          marks_(marks),
          inContents_(ContentsLines(scan.lines.size(), contents)),
          widest_(TextCutWidth(scan)) {}

    void Run() {
        pageHeading_ = RepeatedPageHeading(doc_, scan_);
        if (pageHeading_ && marks_[*pageHeading_].role == LineRole::Text) {
            marks_[*pageHeading_] = {LineRole::Heading, 1};
            // A page numbered "3.2." heads the book: its sections "3.2.1." are one below it.
            if (const std::optional<SectionLine> page = MatchSectionLine(Plain(*pageHeading_))) {
                pageDepth_ = page->path.depth;
            }
        }
        FindCandidates();
        RejectRuns();
        Sequence(DepthIndents{});
        Sequence(HeadingIndents());
        const std::uint8_t base = ChapterLevel();
        // A page that opens under its bar with a section's number ("A.2.") heads the book as
        // a page heading the bar repeated does.
        std::optional<std::uint32_t> opensPage;
        for (const OutlineCandidate& c : candidates_) {
            if (c.accepted && !c.chapter && c.line == opening_ && !pageHeading_ &&
                c.path.depth > 1) {
                opensPage = c.line;
                pageDepth_ = c.path.depth;
            }
        }
        for (const OutlineCandidate& c : candidates_) {
            if (c.accepted && !c.chapter) {
                const int level = c.line == opensPage ? 1 : LevelOf(base, c.path.depth);
                marks_[c.line] = {LineRole::Heading,
                                  static_cast<std::uint8_t>(std::min<int>(level, kMaxLevel))};
                for (std::size_t k = 1, lines = LinesGoneOn(c.line); k <= lines; ++k) {
                    marks_[c.line + k] = {LineRole::HeadingContinuation, 0};
                }
            }
        }
        MarkListedLines(base);
        MarkListOwners(base);
    }

  private:
    std::string_view Plain(std::size_t line) {
        return utf8::Trim(WithPlainSpaces(reader_.Text(doc_.blocks[line]), spaced_));
    }

    bool IsPlainText(std::size_t i) const {
        return i < scan_.lines.size() && scan_.lines[i].IsText() &&
               !scan_.lines[i].Has(kLineOrnament);
    }

    // A heading too long for the width goes on in one short line of words that ends its
    // group; a line of marks under it ("......") is its underline.
    bool WrappedHeading(std::size_t i) { return LinesGoneOn(i) > 0; }

    // The lines below line `i` a heading goes on in when the width broke it: none, or one, or
    // where sections stand among the lines, up to two.
    std::size_t LinesGoneOn(std::size_t i) {
        // Words, or words in brackets ("(before Bullseye)").
        const auto words = [&](std::size_t j) {
            if (j >= scan_.lines.size() || marks_[j].role != LineRole::Text) {
                return false;
            }
            if (scan_.lines[j].Has(kLineStartsWord | kLineEndsWord)) {
                return true;
            }
            const std::string_view text = Plain(j);
            return text.size() > 2 && text.starts_with('(') && text.ends_with(')');
        };
        if (HeadingGoesOnBelow(scan_, shape_, widest_, i)) {
            return words(i + 1) ? 1 : 0;
        }
        const std::size_t lines = GoesOnAmongLines(i);
        for (std::size_t k = 1; k <= lines; ++k) {
            if (!words(i + k)) {
                return 0;
            }
        }
        return lines;
    }

    // Where sections stand among the lines with no blank line after them, a heading cut by
    // the width goes on at its margin, in lines the width cut again but the last: a short
    // one, or one that ends as a title does (a question's mark, a word), not as a sentence.
    std::size_t GoesOnAmongLines(std::size_t i) {
        if (!setAmongLines_) {
            return 0;
        }
        for (std::size_t k = 1; k <= kMaxLinesGoneOn; ++k) {
            const std::size_t at = i + k;
            if (at >= scan_.lines.size() || !shape_.Wrapped(scan_, at - 1)) {
                return 0;
            }
            const LineFacts& next = scan_.lines[at];
            if (next.indent != scan_.lines[i].indent ||
                next.Has(kLineListItem | kLinePreformatted)) {
                return 0;
            }
            if (!shape_.Wrapped(scan_, at)) {
                return next.length * 2 < shape_.wrapWidth ||
                               IsTitlePhrase(LineContent(reader_.Text(doc_.blocks[at])))
                           ? k
                           : 0;
            }
        }
        return 0;
    }

    // The line, and the line it goes on in when the width broke it.
    std::string_view Joined(std::size_t i, bool goesOn) {
        if (!goesOn) {
            return Plain(i);
        }
        joined_.assign(Plain(i));
        joined_ += ' ';
        joined_ += Plain(i + 1);
        return joined_;
    }

    bool TextAbove(std::size_t i) const {
        return i > 0 && IsPlainText(i - 1) && marks_[i - 1].role == LineRole::Text;
    }

    // Nothing of a paragraph runs into the line or out of it. Where a document sets its
    // sections right under the text above them, a line above that was not cut by the wrap, or
    // ends a sentence, is enough.
    bool StandsApart(std::size_t i, std::size_t depth) {
        if (shape_.Wrapped(scan_, i) && !WrappedHeading(i) &&
            !(setAmongLines_ && depth >= 2 && CutOnlyByALongWord(i))) {
            return false;
        }
        if (setAmongLines_ && depth >= 2 && TextAbove(i)) {
            // Nor does an item of a list go on left of its own marker.
            return !shape_.Wrapped(scan_, i - 1) || EndsSentence(Plain(i - 1)) ||
                   RunsOnFromLineAbove(i) ||
                   (scan_.lines[i - 1].Has(kLineListItem) &&
                    scan_.lines[i].indent < scan_.lines[i - 1].indent);
        }
        // A chapter's number left of an item of a list set in, whose last sentence ended
        // above it, opens no line of that item.
        if (setAmongLines_ && TextAbove(i) && scan_.lines[i].indent < scan_.lines[i - 1].indent &&
            EndsSentence(Plain(i - 1))) {
            return true;
        }
        // Above the page's opening line stand only its head and links.
        return i == opening_ || (!(i > 0 && shape_.Wrapped(scan_, i - 1)) &&
                                 !(shape_.blankSeparated && TextAbove(i)));
    }

    // The line above is a numbered heading long enough to seem cut, and this line's number
    // runs on from its number ("6.2.1." under "6.2."): no title goes on in a new number.
    bool RunsOnFromLineAbove(std::size_t i) {
        if (!MayOpenSection(i - 1)) {
            return false;
        }
        const std::optional<SectionLine> above = MatchSectionLine(Plain(i - 1));
        if (!above) {
            return false;
        }
        const SectionPath path = above->path;
        const std::optional<SectionLine> own = MatchSectionLine(Plain(i));
        return own && FollowsInNumbering(path, own->path);
    }

    // A numbered line that only seems cut by the width, a long title near the margin: it
    // follows a finished sentence and the next line opens a new one. It heads a section only
    // where its number runs on from the heading before.
    bool SeemsCutAfterASentence(std::size_t i) {
        if (!setAmongLines_ || WrappedHeading(i) || i + 1 >= scan_.lines.size() ||
            !scan_.lines[i + 1].Has(kLineStartsUpper) ||
            scan_.lines[i + 1].indent != scan_.lines[i].indent) {
            return false;
        }
        return !TextAbove(i) || EndsSentence(Plain(i - 1));
    }

    // The next line opens with a word longer than a third of the width (a link, a path, words
    // bound by no-break spaces) while a word of common length would still fit: the width says
    // nothing of whether the line was cut.
    bool CutOnlyByALongWord(std::size_t i) const {
        const std::uint32_t width = shape_.wrapWidth;
        return scan_.lines[i + 1].firstWord * 3 > width &&
               scan_.lines[i].length + kCommonWordColumns < width;
    }

    static bool EndsSentence(std::string_view text) {
        return EndsLikeSentence(text, true) && !text.ends_with(',') && !text.ends_with(';') &&
               !text.ends_with(':');
    }

    // Most sections of the document stand right under a line of text (not under another
    // numbered line, as a contents list's entries do): a render without blank lines.
    bool SectionsSetAmongLines() {
        std::size_t sections = 0;
        std::size_t underText = 0;
        std::optional<std::size_t> lastNumbered;
        for (std::size_t i = 0; i < scan_.lines.size(); ++i) {
            if (inContents_[i] || !IsPlainText(i) || marks_[i].role != LineRole::Text ||
                !MayOpenSection(i)) {
                continue;
            }
            const std::optional<SectionLine> section = MatchSectionLine(Plain(i));
            if (!section || section->path.depth < 2) {
                continue;
            }
            if (lastNumbered != i - 1) {
                ++sections;
                underText += TextAbove(i) ? 1 : 0;
            }
            lastNumbered = i;
        }
        return sections >= kMinSectionsAmongLines && underText * 2 > sections;
    }

    // A section number opens with a digit or a capital letter: most lines are ruled out
    // before any copy is made.
    bool MayOpenSection(std::size_t i) {
        const std::string_view text = reader_.Text(doc_.blocks[i]);
        const std::size_t at = MeasureIndent(text).bytes;
        if (at >= text.size()) {
            return false;
        }
        const char c = text[at];
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
    }

    // The line that opens a page's text under the bar of links at its top; none where no
    // such bar says the text is a page of a manual.
    std::size_t OpeningLine() {
        std::size_t i = FirstTextLine(doc_, scan_);
        if (i >= scan_.lines.size() || !scan_.lines[i].IsText()) {
            return kNone;
        }
        const std::size_t rule = NextNonBlank(i);
        const bool overRule = rule < scan_.lines.size() && scan_.lines[rule].Has(kLineOrnament);
        if (!IsLinkLine(Plain(i)) && !IsSpacedBarOverRule(doc_, scan_, i)) {
            return kNone;
        }
        // The rule under the bar is no text of the page.
        return overRule ? NextNonBlank(rule) : NextNonBlank(i);
    }

    std::size_t NextNonBlank(std::size_t i) const {
        ++i;
        while (i < scan_.lines.size() && scan_.lines[i].Has(kLineBlank)) {
            ++i;
        }
        return i;
    }

    void FindCandidates() {
        opening_ = OpeningLine();
        setAmongLines_ = SectionsSetAmongLines();
        std::string folded;
        // Above the page's heading stand its copy and the bar of links: the page's head.
        const std::size_t from = pageHeading_ ? *pageHeading_ + 1 : 0;
        for (std::size_t i = from; i < scan_.lines.size(); ++i) {
            const LineFacts& line = scan_.lines[i];
            if (inContents_[i] || !IsPlainText(i) || line.length > kMaxOutlineHeadingColumns) {
                continue;
            }
            const LineRole role = marks_[i].role;
            if (role == LineRole::Heading) {
                // A chapter line takes its place in the numbering ("Chapter 2" is 2).
                const bool goesOn = i + 1 < scan_.lines.size() &&
                                    marks_[i + 1].role == LineRole::HeadingContinuation;
                const std::optional<ChapterLineMatch> match =
                    MatchChapterLine(Joined(i, goesOn), folded);
                if (match && match->number > 0 && match->number < 1000 &&
                    (match->kind == DivisionKind::Chapter ||
                     match->kind == DivisionKind::BackMatter)) {
                    OutlineCandidate c;
                    c.line = static_cast<std::uint32_t>(i);
                    c.chapter = true;
                    c.path.depth = 1;
                    c.path.parts[0] = static_cast<std::uint16_t>(match->number);
                    c.path.lettered = match->kind == DivisionKind::BackMatter;
                    candidates_.push_back(c);
                }
                continue;
            }
            // A row of a table or of program output is set in columns; a title is not.
            if (role != LineRole::Text || line.Has(kLinePreformatted) || !MayOpenSection(i)) {
                continue;
            }
            std::optional<SectionLine> section = MatchSectionLine(Plain(i));
            if (!section && WrappedHeading(i)) {
                section = MatchSectionLine(Joined(i, true));
            }
            // A title may end in a mark ("11.3.2.1. DISK CRITICAL: /usr 309 MB (5%):"): such
            // a line heads a section only where its number runs on from the heading before.
            bool weak = false;
            if (!section) {
                section = MatchEndMarkedSection(Plain(i));
                weak = section.has_value();
            }
            if (section && !StandsApart(i, section->path.depth)) {
                weak = section->path.depth >= 2 && SeemsCutAfterASentence(i);
                if (!weak) {
                    section.reset();
                }
            }
            // The first line of a block of numbered lines is a list's, like the rest of it;
            // but a section over its own first subsection ("2.1" over "2.1.1") heads it.
            if (section && IsPlainText(i + 1) && marks_[i + 1].role == LineRole::Text) {
                const std::optional<SectionLine> below = MatchSectionLine(Plain(i + 1));
                if (below && !OpensSubsection(section->path, below->path)) {
                    continue;
                }
            }
            if (section && InNumberedList(i, *section)) {
                continue;
            }
            if (section) {
                OutlineCandidate c;
                c.line = static_cast<std::uint32_t>(i);
                c.path = section->path;
                c.weak = weak;
                candidates_.push_back(c);
            }
        }
    }

    // A section line of two parts or more whose title ends in a full stop or a colon.
    static std::optional<SectionLine> MatchEndMarkedSection(std::string_view trimmed) {
        if (!trimmed.ends_with('.') && !trimmed.ends_with(':')) {
            return std::nullopt;
        }
        std::optional<SectionLine> section =
            MatchSectionLine(utf8::Trim(trimmed.substr(0, trimmed.size() - 1)));
        if (!section || section->path.depth < 2) {
            return std::nullopt;
        }
        return section;
    }

    // `later` runs on from a heading that runs on from `earlier`: 8.1 after 7.5.2 (8 between
    // them), 2.4.2 after 2.3.
    static bool SkipsOneHeading(const SectionPath& earlier, const SectionPath& later) {
        SectionPath between = earlier;
        if (earlier.depth < kMaxSectionDepth) {
            between.parts[between.depth++] = 1;
            if (FollowsInNumbering(between, later)) {
                return true;
            }
        }
        for (std::uint8_t depth = earlier.depth; depth >= 1; --depth) {
            between = earlier;
            between.depth = depth;
            for (std::size_t k = depth; k < kMaxSectionDepth; ++k) {
                between.parts[k] = 0;
            }
            ++between.parts[depth - 1];
            if (FollowsInNumbering(between, later)) {
                return true;
            }
        }
        return false;
    }

    // `below` is the first subsection of `above`: 2.1.1 under 2.1.
    static bool OpensSubsection(const SectionPath& above, const SectionPath& below) {
        return below.depth == above.depth + 1 && below.parts[above.depth] == 1 &&
               below.lettered == above.lettered &&
               std::equal(above.parts.begin(), above.parts.begin() + above.depth,
                          below.parts.begin());
    }

    // The number after a line's own opens one of the next few lines at its indentation, or
    // the number before it one of the few lines above ("1. Boot the system" over "2. Mount
    // the disk"): the line is an item of a list.
    bool InNumberedList(std::size_t i, const SectionLine& section) {
        if (section.path.depth != 1 || section.path.lettered) {
            return false;
        }
        const std::uint32_t number = section.path.parts[0];
        const auto opens = [&](std::size_t j, std::uint32_t wanted) {
            return IsPlainText(j) && scan_.lines[j].indent == scan_.lines[i].indent &&
                   LeadingNumber(Plain(j)) == wanted;
        };
        const std::size_t end = std::min(scan_.lines.size(), i + 1 + kItemLookahead);
        for (std::size_t j = i + 1; j < end; ++j) {
            if (opens(j, number + 1)) {
                return true;
            }
            // A chapter's own first section under it ("19.1." under "19."): no list goes
            // on past it.
            if (IsPlainText(j) && scan_.lines[j].indent == scan_.lines[i].indent &&
                MayOpenSection(j)) {
                const std::optional<SectionLine> below = MatchSectionLine(Plain(j));
                if (below && OpensSubsection(section.path, below->path)) {
                    break;
                }
            }
        }
        for (std::size_t j = i; number > 1 && j-- > 0 && j + kItemLookahead > i;) {
            if (opens(j, number - 1)) {
                return true;
            }
        }
        return false;
    }

    // The number that opens "12. text" or "12) text"; 0 when none does.
    static std::uint32_t LeadingNumber(std::string_view trimmed) {
        std::uint32_t value = 0;
        std::size_t at = 0;
        while (at < trimmed.size() && at < 4 && utf8::IsAsciiDigit(trimmed[at])) {
            value = value * 10 + static_cast<std::uint32_t>(trimmed[at] - '0');
            ++at;
        }
        const bool closed = at > 0 && at + 1 < trimmed.size() &&
                            (trimmed[at] == '.' || trimmed[at] == ')') &&
                            utf8::IsBlankByte(trimmed[at + 1]);
        return closed ? value : 0;
    }

    // Lines one under another, or at one indentation with only blank lines between them (a
    // list written one entry a paragraph; a list of steps indented under a heading is not run
    // into it). Each line is looked at once over the whole text.
    bool Adjacent(std::uint32_t from, std::uint32_t to) {
        if (to == from + 1) {
            return true;
        }
        if (scan_.lines[from].indent != scan_.lines[to].indent) {
            return false;
        }
        for (std::uint32_t i = from + 1; i < to; ++i) {
            if (!scan_.lines[i].Has(kLineBlank)) {
                return false;
            }
        }
        // The first section after the list opens with a paragraph of its own.
        std::size_t after = to + 1;
        while (after < scan_.lines.size() && scan_.lines[after].Has(kLineBlank)) {
            ++after;
        }
        return !(IsPlainText(after) && !MatchSectionLine(Plain(after)));
    }

    // Numbered lines one under another are a list (of contents, of tables), not headings.
    // The runs are dropped in one pass, the candidates kept moved forward once: a text of
    // many such lists costs no more than one.
    void RejectRuns() {
        std::size_t kept = 0;
        std::size_t start = 0;
        for (std::size_t k = 1; k <= candidates_.size(); ++k) {
            const bool adjacent = k < candidates_.size() && !candidates_[k].chapter &&
                                  !candidates_[k - 1].chapter &&
                                  Adjacent(candidates_[k - 1].line, candidates_[k].line);
            if (adjacent) {
                continue;
            }
            if (k - start < kListRun) {
                for (std::size_t i = start; i < k; ++i, ++kept) {
                    if (kept != i) {
                        candidates_[kept] = std::move(candidates_[i]);
                    }
                }
            }
            start = k;
        }
        candidates_.resize(kept);
    }

    static bool AllOnes(const SectionPath& path) {
        for (std::size_t k = 0; k < path.depth; ++k) {
            if (path.parts[k] != 1) {
                return false;
            }
        }
        return true;
    }

    // The indentation a heading of each depth keeps; none given, any will do.
    using DepthIndents = std::array<std::optional<std::uint16_t>, kMaxSectionDepth>;

    bool KeepsIndent(const OutlineCandidate& c, const DepthIndents& indents) const {
        const std::optional<std::uint16_t>& indent =
            indents[std::max<std::size_t>(c.path.depth, 1) - 1];
        return !indent || scan_.lines[c.line].indent == *indent;
    }

    // Headings keep one indentation, the least of the numbered lines that run on; a numbered
    // line deeper than they is a list item. Some renders indent each level of sections further
    // than the one above it: then each depth keeps its own least indentation.
    DepthIndents HeadingIndents() const {
        DepthIndents least;
        std::optional<std::uint16_t> overall;
        for (const OutlineCandidate& c : candidates_) {
            if (c.accepted && !c.chapter && c.path.depth > 0) {
                const std::uint16_t indent = scan_.lines[c.line].indent;
                std::optional<std::uint16_t>& at = least[c.path.depth - 1];
                at = at ? std::min(*at, indent) : indent;
                overall = overall ? std::min(*overall, indent) : indent;
            }
        }
        if (!overall) {
            return least;
        }
        // Numbered lines set deeper than the sections of a deeper depth are a list's items
        // ("1." under "2.1.7"), not sections: that depth keeps the headings' least indentation.
        std::array<bool, kMaxSectionDepth> listed{};
        std::optional<std::uint16_t> below;
        for (std::size_t d = least.size(); d-- > 0;) {
            if (least[d] && below && *least[d] > *below) {
                least[d] = overall;
                listed[d] = true;
            } else if (least[d]) {
                below = least[d];
            }
        }
        bool deeperFurther = true;
        std::optional<std::uint16_t> above;
        for (std::size_t d = 0; d < least.size(); ++d) {
            if (least[d] && !listed[d]) {
                deeperFurther = deeperFurther && (!above || *least[d] > *above);
                above = least[d];
            }
        }
        if (!deeperFurther) {
            least.fill(overall);
        }
        return least;
    }

    // The next numbered candidate after `k` that keeps `indents`.
    std::optional<std::size_t> NextNumbered(std::size_t k, const DepthIndents& indents) {
        for (std::size_t j = k + 1; j < candidates_.size(); ++j) {
            if (candidates_[j].chapter || KeepsIndent(candidates_[j], indents)) {
                return j;
            }
        }
        return std::nullopt;
    }

    // A page cut from a longer manual opens with its own heading, numbered where the manual
    // stands ("2. NEWS"); unless a bar of links above the page's text repeated it.
    bool OpensPage(std::size_t k, const DepthIndents& indents) {
        if (candidates_[k].line != opening_) {
            return false;
        }
        const std::optional<std::size_t> next = NextNumbered(k, indents);
        return !next || candidates_[*next].chapter ||
               candidates_[*next].path != candidates_[k].path;
    }

    // Accepts the candidates whose numbers run on from the heading before.
    void Sequence(const DepthIndents& indents) {
        std::optional<SectionPath> previous;
        for (std::size_t k = 0; k < candidates_.size(); ++k) {
            OutlineCandidate& c = candidates_[k];
            c.accepted = false;
            if (c.chapter) {
                c.accepted = true;
                previous = c.path;
                continue;
            }
            if (!KeepsIndent(c, indents)) {
                continue;
            }
            if (c.weak && !(previous && FollowsInNumbering(*previous, c.path))) {
                continue;
            }
            bool follows = previous ? FollowsInNumbering(*previous, c.path)
                                    : AllOnes(c.path) || OpensPage(k, indents);
            if (!follows && !previous) {
                // A text cut from a longer manual opens mid-numbering ("11.1.", "B.4."): only
                // when the heading after it runs on from it; a chapter's number ("3.") only
                // over its own first section.
                const std::optional<std::size_t> next = NextNumbered(k, indents);
                follows = next && !candidates_[*next].chapter &&
                          (c.path.depth >= 2 ? FollowsInNumbering(c.path, candidates_[*next].path)
                                             : OpensSubsection(c.path, candidates_[*next].path));
            }
            if (!follows && previous && c.path.depth == 1 && c.path.parts[0] == 1) {
                // The numbering starts again (a preface, then the chapters): only when the
                // heading after it runs on from it.
                const std::optional<std::size_t> next = NextNumbered(k, indents);
                follows = next && !candidates_[*next].chapter &&
                          FollowsInNumbering(c.path, candidates_[*next].path);
            }
            if (!follows && previous && SkipsOneHeading(*previous, c.path) &&
                !ResumedLater(k, *previous, indents)) {
                // One heading no line gave (a chapter's number the width ran into its text):
                // the numbering takes up again after it where the next heading runs on too.
                const std::optional<std::size_t> next = NextNumbered(k, indents);
                follows = next && !candidates_[*next].chapter &&
                          (c.path.depth >= 2 ? FollowsInNumbering(c.path, candidates_[*next].path)
                                             : OpensSubsection(c.path, candidates_[*next].path));
            }
            if (follows && previous && ListInsideSection(k, *previous, indents)) {
                follows = false;
            }
            if (follows) {
                c.accepted = true;
                previous = c.path;
            }
        }
    }

    // A numbered line a little after `k` runs on from `previous`: the numbering goes on
    // there, and line `k` is none of its headings.
    bool ResumedLater(std::size_t k, const SectionPath& previous, const DepthIndents& indents) {
        const std::size_t end = std::min(candidates_.size(), k + 1 + kResumeWindow);
        for (std::size_t j = k + 1; j < end; ++j) {
            if (candidates_[j].chapter) {
                return false;
            }
            if (KeepsIndent(candidates_[j], indents) &&
                FollowsInNumbering(previous, candidates_[j].path)) {
                return true;
            }
        }
        return false;
    }

    // Line `k` climbs out of a subsection, yet the subsections come back a few numbered lines
    // later, past those that run on from it: it opens or goes on with a numbered list inside
    // the section ("1." and "2." between "6.3.3" and "6.3.4", step "3." under "2.3.4" before
    // "2.3.5").
    bool ListInsideSection(std::size_t k, const SectionPath& previous,
                           const DepthIndents& indents) {
        if (candidates_[k].path.depth >= previous.depth) {
            return false;
        }
        SectionPath chain = candidates_[k].path;
        const std::size_t end = std::min(candidates_.size(), k + 1 + kResumeWindow);
        for (std::size_t j = k + 1; j < end; ++j) {
            const OutlineCandidate& next = candidates_[j];
            if (next.chapter) {
                return false;
            }
            if (!KeepsIndent(next, indents)) {
                continue;
            }
            if (FollowsInNumbering(chain, next.path)) {
                chain = next.path;
            } else if (next.path.depth > candidates_[k].path.depth &&
                       FollowsInNumbering(previous, next.path)) {
                return true;
            }
        }
        return false;
    }

    // The level the chapter lines were given (below parts and books), so sections nest under.
    std::uint8_t ChapterLevel() const {
        for (const OutlineCandidate& c : candidates_) {
            if (c.chapter) {
                return std::max<std::uint8_t>(marks_[c.line].level, 1);
            }
        }
        return 1;
    }

    // Lines a contents list names become headings where they come again after the list, in
    // the list's order.
    void MarkListedLines(std::uint8_t base) {
        if (contents_.empty()) {
            return;
        }
        std::unordered_map<std::string, std::size_t> keys;  // how often the lists name each
        for (const ContentsList& list : contents_) {
            for (const ContentsEntry& entry : list.entries) {
                ++keys[entry.key];
            }
        }
        std::unordered_map<std::string, std::vector<std::uint32_t>> places;
        std::unordered_map<std::uint32_t, std::size_t> goesOn;  // lines a listed title wraps into
        for (std::size_t i = contents_.front().end; i < scan_.lines.size(); ++i) {
            if (inContents_[i] || !IsPlainText(i) ||
                scan_.lines[i].length > kMaxOutlineHeadingColumns ||
                (marks_[i].role != LineRole::Text && marks_[i].role != LineRole::Heading)) {
                continue;
            }
            std::string key;
            if (StandsApartForListing(i)) {
                key = ContentsKey(reader_.Text(doc_.blocks[i]));
            }
            if (!keys.contains(key) && marks_[i].role == LineRole::Text) {
                const std::size_t lines = ListedTitleGoesOn(i, keys, key);
                if (lines > 0) {
                    goesOn[static_cast<std::uint32_t>(i)] = lines;
                }
            }
            if (keys.contains(key)) {
                places[std::move(key)].push_back(static_cast<std::uint32_t>(i));
            }
        }
        // A line that comes back more often than it is listed labels boxes ("Note", "Tip")
        // the list's end took in; a section is named once for each time it is listed.
        std::erase_if(places,
                      [&](const auto& place) { return place.second.size() > keys[place.first]; });
        std::string folded;
        for (const ContentsList& list : contents_) {
            std::vector<std::uint16_t> indents;
            for (const ContentsEntry& entry : list.entries) {
                indents.push_back(entry.indent);
            }
            std::sort(indents.begin(), indents.end());
            indents.erase(std::unique(indents.begin(), indents.end()), indents.end());
            std::uint32_t from = list.end;
            for (const ContentsEntry& entry : list.entries) {
                const auto found = places.find(entry.key);
                if (found == places.end()) {
                    continue;
                }
                const auto at = std::lower_bound(found->second.begin(), found->second.end(), from);
                if (at == found->second.end()) {
                    continue;
                }
                const std::uint32_t line = *at;
                from = line + 1;
                if (marks_[line].role == LineRole::Heading) {
                    // The list names the line alone: what the width seemed to carry on
                    // below it is the text.
                    for (std::size_t k = line + 1;
                         k < scan_.lines.size() && marks_[k].role == LineRole::HeadingContinuation;
                         ++k) {
                        marks_[k] = {LineRole::Text, 0};
                    }
                    continue;
                }
                marks_[line] = {LineRole::Heading, ListedLevel(line, entry, indents, base, folded)};
                const auto wrapped = goesOn.find(line);
                for (std::size_t k = 1; wrapped != goesOn.end() && k <= wrapped->second; ++k) {
                    marks_[line + k] = {LineRole::HeadingContinuation, 0};
                }
            }
        }
    }

    // A listed title the width broke over lines of their own ("4. My UPS driver won't work.
    // I'm starting it as root, and root owns the" over "device, so what's the problem?"):
    // the lines below it, at its indentation, whose words with its own make up an entry of
    // the lists; `key` becomes that entry's. None where no run of lines does.
    std::size_t ListedTitleGoesOn(std::size_t i,
                                  const std::unordered_map<std::string, std::size_t>& keys,
                                  std::string& key) {
        if (!shape_.Wrapped(scan_, i) ||
            (i > 0 && shape_.Wrapped(scan_, i - 1) && !EndsSentence(Plain(i - 1)))) {
            return 0;
        }
        std::string joined(Plain(i));
        for (std::size_t k = 1; k <= kMaxLinesGoneOn; ++k) {
            const std::size_t at = i + k;
            if (at >= scan_.lines.size() || !IsPlainText(at) || marks_[at].role != LineRole::Text ||
                scan_.lines[at].indent != scan_.lines[i].indent) {
                return 0;
            }
            joined += ' ';
            joined += Plain(at);
            std::string candidate = ContentsKey(joined);
            if (keys.contains(candidate)) {
                key = std::move(candidate);
                return k;
            }
            if (!shape_.Wrapped(scan_, at)) {
                return 0;
            }
        }
        return 0;
    }

    // A listed line is found by its words, so it only has to be a line of its own; one that
    // opens with its section number is that section wherever the width left it.
    bool StandsApartForListing(std::size_t i) {
        if (!shape_.Wrapped(scan_, i)) {
            if (!(i > 0 && shape_.Wrapped(scan_, i - 1))) {
                return true;
            }
            // The line above only seems cut: it ends a sentence, or it is a listing's long
            // line, under which the listed words end no sentence and a new one opens.
            const bool sentenceBelow = i + 1 < scan_.lines.size() && IsPlainText(i + 1) &&
                                       scan_.lines[i + 1].Has(kLineStartsUpper);
            if (EndsSentence(Plain(i - 1)) ||
                (sentenceBelow && !EndsLikeSentence(Plain(i), true))) {
                return true;
            }
        }
        return MayOpenSection(i) && MatchSectionLine(Plain(i)).has_value();
    }

    // A numbered line right above a contents list (or its title), whose number every numbered
    // entry of the list falls under ("4. Memcheck" over "Table of Contents", "4.1", "4.2.1";
    // "12장. Advanced Administration" over "12.1._RAID_and_LVM"), heads what the list lists.
    void MarkListOwners(std::uint8_t base) {
        for (const ContentsList& list : contents_) {
            std::size_t above = list.heading;
            while (above > 0 && scan_.lines[above - 1].Has(kLineBlank)) {
                --above;
            }
            if (list.entries.empty() || above == 0) {
                continue;
            }
            std::size_t i = above - 1;
            if (!IsPlainText(i) || marks_[i].role != LineRole::Text ||
                scan_.lines[i].length > kMaxOutlineHeadingColumns) {
                continue;
            }
            std::optional<SectionPath> owner = OwnerPath(i);
            // A title the width broke: its end stands over the list.
            bool wrapped = false;
            if (!owner && i > 0 && IsPlainText(i - 1) && marks_[i - 1].role == LineRole::Text &&
                shape_.Wrapped(scan_, i - 1)) {
                owner = OwnerPath(i - 1);
                wrapped = owner.has_value();
                i -= wrapped ? 1 : 0;
            }
            if (!owner) {
                continue;
            }
            std::size_t under = 0;
            for (const ContentsEntry& entry : list.entries) {
                const std::optional<SectionLine> listed = MatchSectionLine(entry.key);
                if (!listed) {
                    continue;
                }
                if (!FallsUnder(*owner, listed->path)) {
                    under = 0;
                    break;
                }
                ++under;
            }
            if (under >= 2) {
                marks_[i] = {LineRole::Heading, static_cast<std::uint8_t>(std::min<int>(
                                                    LevelOf(base, owner->depth), kMaxLevel))};
                if (wrapped) {
                    marks_[i + 1] = {LineRole::HeadingContinuation, 0};
                }
            }
        }
    }

    // The number of a section line, or of a chapter line in any language ("Chapter 12.",
    // "12장.", "第 12 章"): the first number among its first words.
    std::optional<SectionPath> OwnerPath(std::size_t i) {
        const std::string_view text = Plain(i);
        if (MayOpenSection(i)) {
            if (const std::optional<SectionLine> section = MatchSectionLine(text)) {
                return section->path.lettered ? std::nullopt : std::optional(section->path);
            }
        }
        // A line framed by marks is a heading of its own shape, read later.
        if (!scan_.lines[i].Has(kLineStartsWord) || !IsTitlePhrase(text)) {
            return std::nullopt;
        }
        const std::size_t digit = text.find_first_of("0123456789");
        if (digit == std::string_view::npos || digit > kMaxChapterWordBytes) {
            return std::nullopt;
        }
        std::size_t end = digit;
        std::uint32_t value = 0;
        while (end < text.size() && end - digit < 4 && utf8::IsAsciiDigit(text[end])) {
            value = value * 10 + static_cast<std::uint32_t>(text[end] - '0');
            ++end;
        }
        // "12.1" is a section's number, which MatchSectionLine reads.
        const bool more =
            end < text.size() &&
            (utf8::IsAsciiDigit(text[end]) ||
             (text[end] == '.' && end + 1 < text.size() && utf8::IsAsciiDigit(text[end + 1])));
        if (value == 0 || more) {
            return std::nullopt;
        }
        SectionPath path;
        path.depth = 1;
        path.parts[0] = static_cast<std::uint16_t>(value);
        return path;
    }

    // The level of a section of `depth` parts: under the chapters, or under the page's own
    // numbered heading.
    int LevelOf(std::uint8_t base, std::size_t depth) const {
        const int level = base + static_cast<int>(depth) - 1;
        return pageDepth_ > 1 ? std::max(level - static_cast<int>(pageDepth_) + 1, 2) : level;
    }

    static bool FallsUnder(const SectionPath& above, const SectionPath& below) {
        return below.depth > above.depth && below.lettered == above.lettered &&
               std::equal(above.parts.begin(), above.parts.begin() + above.depth,
                          below.parts.begin());
    }

    std::uint8_t ListedLevel(std::uint32_t line, const ContentsEntry& entry,
                             const std::vector<std::uint16_t>& indents, std::uint8_t base,
                             std::string& folded) {
        const std::string_view text = Plain(line);
        if (const std::optional<SectionLine> section = MatchSectionLine(text)) {
            return static_cast<std::uint8_t>(
                std::min<int>(LevelOf(base, section->path.depth), kMaxLevel));
        }
        if (MatchChapterLine(text, folded)) {
            return base;
        }
        // Unnumbered sections rank by the list's indentation, under the page's own heading.
        const auto rank = std::lower_bound(indents.begin(), indents.end(), entry.indent);
        const std::ptrdiff_t top = pageHeading_ ? 2 : 1;
        return static_cast<std::uint8_t>(
            std::min<std::ptrdiff_t>(top + (rank - indents.begin()), kMaxLevel));
    }

    const Document& doc_;
    BlockTextReader reader_;
    const LineScan& scan_;
    const DocumentShape& shape_;
    const std::vector<ContentsList>& contents_;
    LineMarks& marks_;
    std::vector<bool> inContents_;
    std::vector<OutlineCandidate> candidates_;
    std::uint32_t widest_ = 0;
    std::string spaced_;
    bool setAmongLines_ = false;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t opening_ = kNone;
    std::optional<std::size_t> pageHeading_;
    std::size_t pageDepth_ = 0;
    std::string joined_;
};

}  // namespace

void MarkOutline(const Document& doc, const LineScan& scan, const DocumentShape& shape,
                 const std::vector<ContentsList>& contents, LineMarks& marks) {
    Outline(doc, scan, shape, contents, marks).Run();
}

std::vector<ChapterHeading> WithoutContentsLines(std::vector<ChapterHeading> chapters,
                                                 const std::vector<ContentsList>& contents) {
    std::erase_if(chapters, [&](const ChapterHeading& h) {
        return std::any_of(contents.begin(), contents.end(), [&](const ContentsList& list) {
            return h.line >= list.heading && h.line < list.end;
        });
    });
    return chapters;
}

}  // namespace Tessaly::Docs
