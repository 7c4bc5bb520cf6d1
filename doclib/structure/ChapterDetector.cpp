#include "doclib/structure/ChapterDetector.h"

#include <algorithm>
#include <array>
#include <string>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/ContentsList.h"
#include "doclib/structure/PageHeader.h"
#include "doclib/structure/TableRule.h"
#include "doclib/structure/TextLine.h"
#include "doclib/structure/WrappedHeadingLine.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kMaxHeadingColumns = 100;
constexpr std::uint16_t kMaxHeadingWords = 14;
constexpr std::uint32_t kMaxSubtitleColumns = 60;
constexpr std::uint16_t kMaxSubtitleWords = 10;
constexpr std::size_t kTocRun = 3;
// Code points of a wrapped chapter line judged as a chapter line: a title's worth.
constexpr std::size_t kMaxWrappedTitleHead = 48;
constexpr std::uint32_t kMinBrokenTitleColumns = 60;

struct Candidate {
    ChapterHeading heading;
    ChapterLineMatch match;
    bool rejected = false;
};

// Nothing of the running text comes right before line `i`.
bool SetApart(const LineScan& scan, const DocumentShape& shape, std::size_t i,
              bool previousIsCandidate) {
    if (i == 0 || previousIsCandidate) {
        return true;
    }
    const LineFacts& previous = scan.lines[i - 1];
    if (!previous.IsText() || previous.Has(kLineOrnament)) {
        return true;
    }
    // Without blank lines between paragraphs, a line that ends a paragraph is enough.
    return !shape.blankSeparated && !shape.Wrapped(scan, i - 1);
}

bool IsTopKind(DivisionKind kind) {
    return kind == DivisionKind::Volume || kind == DivisionKind::Book || kind == DivisionKind::Part;
}

std::size_t KindIndex(DivisionKind kind) {
    return static_cast<std::size_t>(kind);
}

class Detector {
  public:
    Detector(const Document& doc, const LineScan& scan, const DocumentShape& shape)
        : doc_(doc), reader_(doc), scan_(scan), shape_(shape), widest_(TextCutWidth(scan)) {}

    std::vector<ChapterHeading> Run() {
        FindCandidates();
        RejectTablesOfContents();
        RejectListsAndDisorder();
        std::vector<ChapterHeading> result;
        for (const Candidate& c : candidates_) {
            if (!c.rejected) {
                result.push_back(c.heading);
            }
        }
        AssignLevels(result);
        for (ChapterHeading& heading : result) {
            // A line that names its chapter ("Chapter 2: The Storm") has its title already.
            if (!heading.titled) {
                heading.subtitle = FindSubtitle(heading.line, result);
            }
        }
        return result;
    }

  private:
    // The line without outer blanks, its no-break and other Unicode spaces read as spaces.
    std::string_view Trimmed(std::size_t line) {
        return utf8::Trim(WithPlainSpaces(reader_.Text(doc_.blocks[line]), spaced_));
    }

    // A row of a table's cells stands over its rule ("Chapter 9. Tips" of a navigation bar).
    bool OverColumnRule(std::size_t i) {
        return i + 1 < scan_.lines.size() && scan_.lines[i + 1].IsText() &&
               IsColumnRule(utf8::Trim(reader_.Text(doc_.blocks[i + 1])));
    }

    // Every chapter-shaped line is kept, even one that does not stand apart, so that a table
    // of contents written as one block of lines is still seen as a whole.
    void FindCandidates() {
        std::string scratch;
        for (std::size_t i = 0; i < scan_.lines.size(); ++i) {
            const LineFacts& line = scan_.lines[i];
            if (!line.IsPlainText() || line.length > kMaxHeadingColumns ||
                line.words > kMaxHeadingWords || line.Has(kLineListItem)) {
                continue;
            }
            const bool wrapped =
                (shape_.Wrapped(scan_, i) || BreaksMidClause(i)) && EndsWrappedTitle(i + 1);
            std::optional<ChapterLineMatch> match = wrapped ? MatchWrappedChapterLine(i, scratch)
                                                            : MatchChapterLine(Trimmed(i), scratch);
            // A long chapter title the width broke is read whole ("Chapter 11. Network
            // Services: Postfix, Apache, NFS," over "Samba, Squid").
            bool goesOn = false;
            if (!wrapped && (!match || shape_.Wrapped(scan_, i)) &&
                HeadingGoesOnBelow(scan_, shape_, widest_, i)) {
                joined_.assign(Trimmed(i));
                joined_ += ' ';
                joined_ += Trimmed(i + 1);
                const std::optional<ChapterLineMatch> whole = MatchChapterLine(joined_, scratch);
                if (whole && whole->titled) {
                    match = whole;
                    goesOn = true;
                }
            }
            if (!match) {
                continue;
            }
            // Headings may stack ("BOOK ONE" right over "CHAPTER I").
            const bool underCandidate =
                !candidates_.empty() && candidates_.back().heading.line + 1 == i;
            Candidate candidate;
            candidate.heading.line = static_cast<std::uint32_t>(i);
            candidate.heading.kind = match->kind;
            candidate.heading.titled = match->titled;
            if (goesOn) {
                candidate.heading.continuation = static_cast<std::uint32_t>(i + 1);
            }
            candidate.match = *match;
            candidate.heading.wrapped = wrapped && match->titled;
            candidate.rejected =
                !SetApart(scan_, shape_, i, underCandidate) ||
                (shape_.Wrapped(scan_, i) && !candidate.heading.wrapped && !goesOn) ||
                OverColumnRule(i);
            candidates_.push_back(candidate);
        }
    }

    // The start of a chapter line whose title goes on below is judged: its words up to a
    // clause's end ("Chapter 11. Network Services:") or as many as a title holds.
    std::optional<ChapterLineMatch> MatchWrappedChapterLine(std::size_t i, std::string& scratch) {
        std::string_view head = Trimmed(i);
        std::size_t points = 0;
        std::size_t cut = head.size();
        for (std::size_t at = 0; at < head.size();) {
            const utf8::CodePoint cp = utf8::DecodeAt(head, at);
            if (points > 0 && (cp.value == ':' || cp.value == ',' || cp.value == 0x3001 ||
                               cp.value == 0xFF1A || cp.value == 0xFF0C)) {
                cut = at;
                break;
            }
            if (++points > kMaxWrappedTitleHead) {
                cut = at;
                break;
            }
            at += cp.length;
        }
        head = utf8::Trim(head.substr(0, cut));
        std::optional<ChapterLineMatch> match = MatchChapterLine(head, scratch);
        if (match && (!match->titled || match->bareNumeral)) {
            match.reset();
        }
        return match;
    }

    // A long line that stops after a comma goes on below, whatever width the text keeps, in
    // one line that ends the group.
    bool BreaksMidClause(std::size_t i) {
        if (scan_.lines[i].length < kMinBrokenTitleColumns || !EndsGroup(i + 1)) {
            return false;
        }
        const std::string_view text = Trimmed(i);
        return text.ends_with(',') || text.ends_with(";") || text.ends_with("\u3001") ||
               text.ends_with("\uFF0C");
    }

    // A chapter's title too long for the wrap ends in line `i`: a line that the wrap did not
    // cut again and that ends no sentence.
    bool EndsWrappedTitle(std::size_t i) {
        if (i >= scan_.lines.size() || !scan_.lines[i].IsPlainText() ||
            scan_.lines[i].Has(kLineListItem | kLinePreformatted) || shape_.Wrapped(scan_, i)) {
            return false;
        }
        // A bar of links under a page's title ("[5]Prev  [6]Next") is no part of it.
        const std::string_view text = Trimmed(i);
        return HasLetter(text) && !EndsLikeSentence(text, true) && !IsLinkLine(text) &&
               !MatchChapterLine(text, scratch_);
    }

    // Between two candidates lies at most one short line that could be a subtitle.
    bool Adjacent(const Candidate& a, const Candidate& b) {
        std::size_t textLines = 0;
        for (std::size_t i = a.heading.line + 1; i < b.heading.line; ++i) {
            const LineFacts& line = scan_.lines[i];
            if (line.Has(kLineBlank)) {
                continue;
            }
            if (++textLines > 1 || !line.IsPlainText() || line.length > kMaxSubtitleColumns ||
                EndsLikeSentence(Trimmed(i), true)) {
                return false;
            }
        }
        return true;
    }

    static bool SameDivision(const Candidate& a, const Candidate& b) {
        return a.heading.kind == b.heading.kind && a.match.number == b.match.number;
    }

    // A run of adjacent candidates is a table of contents. The run ends where a division
    // listed in it comes again: that is the book itself beginning right after the list.
    void RejectTablesOfContents() {
        std::size_t start = 0;
        for (std::size_t i = 1; i <= candidates_.size(); ++i) {
            if (i < candidates_.size() && Adjacent(candidates_[i - 1], candidates_[i]) &&
                std::none_of(candidates_.begin() + static_cast<std::ptrdiff_t>(start),
                             candidates_.begin() + static_cast<std::ptrdiff_t>(i),
                             [&](const Candidate& c) { return SameDivision(c, candidates_[i]); })) {
                continue;
            }
            // A real book stacks different kinds ("BOOK ONE", "PART ONE", "CHAPTER 1"); a
            // table of contents lists one kind again and again.
            std::array<int, 7> kinds{};
            bool repeated = false;
            for (std::size_t k = start; k < i; ++k) {
                repeated = repeated || ++kinds[KindIndex(candidates_[k].heading.kind)] > 1;
            }
            if (i - start >= kTocRun && repeated) {
                for (std::size_t k = start; k < i; ++k) {
                    candidates_[k].rejected = true;
                }
            }
            start = i;
        }
    }

    void RejectListsAndDisorder() {
        std::size_t accepted = 0;
        std::size_t textLines = 0;
        for (const LineFacts& line : scan_.lines) {
            textLines += line.IsPlainText() ? 1 : 0;
        }
        for (const Candidate& c : candidates_) {
            accepted += c.rejected ? 0 : 1;
        }
        if (accepted >= 4 && accepted * 10 > textLines * 4) {
            for (Candidate& c : candidates_) {
                c.rejected = true;
            }
            return;
        }
        // Per kind: steps that go up, or restart at 1, are in order.
        std::array<int, 7> last{};
        last.fill(-1);
        std::array<int, 7> steps{};
        std::array<int, 7> bad{};
        for (const Candidate& c : candidates_) {
            if (c.rejected || c.match.number < 0) {
                continue;
            }
            const std::size_t k = KindIndex(c.heading.kind);
            if (last[k] >= 0) {
                ++steps[k];
                const bool inOrder = c.match.number > last[k] || c.match.number == 1;
                bad[k] += inOrder ? 0 : 1;
            }
            last[k] = c.match.number;
        }
        for (Candidate& c : candidates_) {
            const std::size_t k = KindIndex(c.heading.kind);
            if (c.match.number >= 0 && steps[k] >= 2 && bad[k] * 3 > steps[k]) {
                c.rejected = true;
            }
        }
    }

    static void AssignLevels(std::vector<ChapterHeading>& headings) {
        std::array<bool, 3> present{};  // Volume, Book, Part
        std::uint32_t firstTop = kNoLine;
        for (const ChapterHeading& h : headings) {
            if (IsTopKind(h.kind)) {
                present[KindIndex(h.kind)] = true;
                firstTop = std::min(firstTop, h.line);
            }
        }
        std::array<std::uint8_t, 3> topLevel{};
        std::uint8_t next = 1;
        for (std::size_t k = 0; k < present.size(); ++k) {
            if (present[k]) {
                topLevel[k] = next++;
            }
        }
        const std::uint8_t chapterLevel = std::min<std::uint8_t>(next, 3);
        for (ChapterHeading& h : headings) {
            switch (h.kind) {
                case DivisionKind::Volume:
                case DivisionKind::Book:
                case DivisionKind::Part:
                    h.level = topLevel[KindIndex(h.kind)];
                    break;
                case DivisionKind::FrontMatter:
                    h.level = h.line < firstTop ? 1 : chapterLevel;
                    break;
                case DivisionKind::BackMatter:
                    h.level = 1;
                    break;
                case DivisionKind::Chapter:
                case DivisionKind::Interlude:
                    h.level = chapterLevel;
                    break;
            }
        }
    }

    static bool IsHeadingLine(std::size_t line, const std::vector<ChapterHeading>& headings) {
        const auto it =
            std::lower_bound(headings.begin(), headings.end(), line,
                             [](const ChapterHeading& h, std::size_t l) { return h.line < l; });
        return it != headings.end() && it->line == line;
    }

    bool SubtitleShaped(std::size_t i, bool direct) {
        const LineFacts& line = scan_.lines[i];
        if (!line.IsPlainText() || line.length > kMaxSubtitleColumns ||
            line.words > kMaxSubtitleWords ||
            line.Has(kLineListItem | kLinePreformatted | kLineCodeLike) ||
            shape_.Wrapped(scan_, i)) {
            return false;
        }
        const std::string_view text = Trimmed(i);
        // "Table of Contents" under "Preface" heads the list that follows, not the chapter.
        if (!HasLetter(text) || EndsLikeSentence(text, !direct) || IsContentsTitle(text)) {
            return false;
        }
        return direct || IsAllCaps(text) || (line.words <= 8 && IsTitleCase(text));
    }

    // The line after `i` ends the subtitle's group: nothing, a blank, or a source block.
    bool EndsGroup(std::size_t i) const {
        return i + 1 >= scan_.lines.size() || !scan_.lines[i + 1].IsText() ||
               scan_.lines[i + 1].Has(kLineOrnament);
    }

    std::uint32_t FindSubtitle(std::uint32_t heading, const std::vector<ChapterHeading>& all) {
        const std::size_t next = heading + 1;
        if (next >= scan_.lines.size() || IsHeadingLine(next, all)) {
            return kNoLine;
        }
        if (!scan_.lines[next].Has(kLineBlank)) {
            const bool fits = !shape_.blankSeparated || EndsGroup(next);
            return fits && SubtitleShaped(next, true) ? static_cast<std::uint32_t>(next) : kNoLine;
        }
        const std::size_t after = next + 1;
        if (after < scan_.lines.size() && !IsHeadingLine(after, all) && EndsGroup(after) &&
            SubtitleShaped(after, false)) {
            return static_cast<std::uint32_t>(after);
        }
        return kNoLine;
    }

    const Document& doc_;
    BlockTextReader reader_;
    const LineScan& scan_;
    const DocumentShape& shape_;
    std::vector<Candidate> candidates_;
    std::uint32_t widest_ = 0;
    std::string spaced_;
    std::string scratch_;
    std::string joined_;
};

}  // namespace

std::vector<ChapterHeading> DetectChapters(const Document& doc, const LineScan& scan,
                                           const DocumentShape& shape) {
    return Detector(doc, scan, shape).Run();
}

void MarkChapters(const std::vector<ChapterHeading>& chapters, LineMarks& marks) {
    for (const ChapterHeading& h : chapters) {
        marks[h.line] = {LineRole::Heading, h.level};
        if (h.wrapped) {
            marks[h.line + 1] = {LineRole::HeadingContinuation, 0};
            continue;
        }
        if (h.continuation != kNoLine) {
            marks[h.continuation] = {LineRole::HeadingContinuation, 0};
        }
        if (h.subtitle != kNoLine) {
            marks[h.subtitle] = {LineRole::Subtitle, h.level};
        }
    }
}

}  // namespace Tessaly::Docs
