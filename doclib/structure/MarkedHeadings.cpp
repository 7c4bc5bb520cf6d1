#include "doclib/structure/MarkedHeadings.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/ChapterLine.h"
#include "doclib/structure/SectionNumber.h"
#include "doclib/structure/TextLine.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kMaxMarkedTitleColumns = 100;
constexpr std::uint32_t kMaxStarTitleColumns = 60;
constexpr std::uint16_t kMaxHashIndent = 3;
constexpr std::size_t kMaxHashes = 6;
constexpr std::size_t kMarkdownHashLines = 3;
// Words of a line that reads as a sentence.
constexpr std::uint16_t kProseWords = 4;
// Longer runs frame a separator label ("---------- Footnotes ----------"), not a title.
constexpr std::size_t kMaxFrameRun = 6;
constexpr int kMinStarCapitals = 4;
// Star lines one under another (blank lines between) this many times are a list.
constexpr std::size_t kStarListRun = 3;

bool IsFrameMark(char c) {
    return c == '=' || c == '*' || c == '-' || c == '~' || c == '+' || c == '_';
}

std::size_t SkipBlanksFrom(std::string_view s, std::size_t at) {
    while (at < s.size() && utf8::IsBlankByte(s[at])) {
        ++at;
    }
    return at;
}

bool IsTitleText(std::string_view title, std::uint32_t maxColumns) {
    return !title.empty() && utf8::CountCodePoints(title) <= maxColumns &&
           HasWordCharacter(title) && !EndsLikeSentence(title, false);
}

// "## Title" and "## Title ##". The line that opens the document, set apart, may name a
// program in lowercase ("# zstd"); elsewhere such a line is a comment over a command.
// A title that ends in a colon ("## Changes in this version:") is read only where `colon` says
// so: a comment over the lines it explains ends so too.
std::optional<ShapedHeading> ReadHashes(std::string_view content, bool opensDocument, bool colon) {
    std::size_t hashes = 0;
    while (hashes < content.size() && content[hashes] == '#') {
        ++hashes;
    }
    if (hashes == 0 || hashes > kMaxHashes || hashes == content.size() ||
        !utf8::IsBlankByte(content[hashes])) {
        return std::nullopt;
    }
    const std::size_t titleAt = SkipBlanksFrom(content, hashes);
    std::size_t end = content.size();
    while (end > titleAt && content[end - 1] == '#') {
        --end;
    }
    if (end < content.size() && (end == titleAt || !utf8::IsBlankByte(content[end - 1]))) {
        end = content.size();  // "## C#" keeps its hash
    }
    std::size_t titleEnd = end;
    while (titleEnd > titleAt && utf8::IsBlankByte(content[titleEnd - 1])) {
        --titleEnd;
    }
    std::string_view title = content.substr(titleAt, titleEnd - titleAt);
    if (colon) {
        if (!title.ends_with(':')) {
            return std::nullopt;
        }
        title.remove_suffix(1);
    }
    if (!IsTitleText(title, kMaxMarkedTitleColumns) ||
        !(OpensLikeTitle(title) || (opensDocument && hashes == 1))) {
        return std::nullopt;
    }
    ShapedHeading heading;
    heading.kind = HeadingStyleKind::Hashes;
    heading.run = static_cast<std::uint8_t>(hashes);
    heading.mark = '#';
    heading.markupLead = static_cast<std::uint8_t>(hashes);
    heading.markupTrail = static_cast<std::uint8_t>(content.size() - end);
    return heading;
}

// "=== Title ===": runs of one mark either side, about as long, blanks between.
std::optional<ShapedHeading> ReadFrame(std::string_view content) {
    const char mark = content[0];
    if (!IsFrameMark(mark)) {
        return std::nullopt;
    }
    std::size_t lead = 0;
    while (lead < content.size() && content[lead] == mark && lead <= kMaxFrameRun) {
        ++lead;
    }
    std::size_t trail = 0;
    while (trail < content.size() - lead && content[content.size() - 1 - trail] == mark &&
           trail <= kMaxFrameRun) {
        ++trail;
    }
    const std::size_t minRun = mark == '-' ? 3 : 2;
    if (lead < minRun || trail < minRun || lead > kMaxFrameRun || trail > kMaxFrameRun ||
        std::max(lead, trail) > std::min(lead, trail) + 1 || lead + trail >= content.size() ||
        !utf8::IsBlankByte(content[lead]) ||
        !utf8::IsBlankByte(content[content.size() - 1 - trail])) {
        return std::nullopt;
    }
    const std::string_view title = utf8::Trim(content.substr(lead, content.size() - lead - trail));
    if (!IsTitleText(title, kMaxMarkedTitleColumns)) {
        return std::nullopt;
    }
    ShapedHeading heading;
    heading.kind = HeadingStyleKind::Framed;
    heading.run = static_cast<std::uint8_t>(lead);
    heading.mark = static_cast<unsigned char>(mark);
    heading.markupLead = static_cast<std::uint8_t>(lead);
    heading.markupTrail = static_cast<std::uint8_t>(trail);
    return heading;
}

// "＊ 導入", "＊導入" and "* SUMMARY".
std::optional<ShapedHeading> ReadStar(std::string_view content) {
    std::size_t at = 0;
    char32_t mark = 0;
    if (content.starts_with("\uFF0A")) {
        at = 3;
        mark = 0xFF0A;
    } else if (content.starts_with("* ")) {
        at = 1;
        mark = '*';
    } else {
        return std::nullopt;
    }
    at = SkipBlanksFrom(content, at);
    if (content.substr(at).starts_with("\u3000")) {
        at += 3;
    }
    const std::string_view title = content.substr(at);
    if (!IsTitleText(title, kMaxStarTitleColumns) || title.starts_with("\uFF0A") ||
        (mark == '*' && !IsInCapitals(title, kMinStarCapitals))) {
        return std::nullopt;
    }
    ShapedHeading heading;
    heading.kind = HeadingStyleKind::Marked;
    heading.mark = mark;
    heading.markupLead = static_cast<std::uint8_t>(at);
    return heading;
}

// "File: guide.info,  Node: Installing,  Next: Using,  Up: Top"
bool IsNodeLine(std::string_view content) {
    return content.starts_with("File: ") && content.find(",  Node: ") != std::string_view::npos;
}

class Marked {
  public:
    Marked(const Document& doc, const LineScan& scan, const LineMarks& marks)
        : doc_(doc), reader_(doc), scan_(scan), marks_(marks) {}

    MarkedLines Run() {
        std::vector<ShapedHeading> hashes;
        std::vector<ShapedHeading> colonHashes;  // read again where the document is Markdown
        std::vector<ShapedHeading> stars;
        std::optional<std::size_t> firstLine;
        std::size_t hashesApart = 0;
        for (std::size_t i = 0; i < scan_.lines.size(); ++i) {
            const LineFacts& line = scan_.lines[i];
            if (!line.IsText() || line.Has(kLineBlank)) {
                continue;
            }
            firstLine = firstLine.value_or(i);
            if (marks_[i].role != LineRole::Text && marks_[i].role != LineRole::SceneBreak) {
                continue;
            }
            // Every mark this looks for opens with no letter or digit, but the "File:" of a
            // node line: most lines are passed over unread.
            if (line.Has(kLineStartsWord) && line.firstWord != 5) {
                continue;
            }
            const std::string_view content = LineContent(reader_.Text(doc_.blocks[i]));
            const unsigned char lead = content.empty() ? 0 : content[0];
            if (lead != '#' && !IsFrameMark(static_cast<char>(lead)) && lead != 0xEF &&
                lead != 'F' && lead != '.') {
                continue;
            }
            if (lead == '.') {
                i = TakeRubric(i, content);
                continue;
            }
            if (lead == 'F') {
                if (IsNodeLine(content)) {
                    result_.navigation.push_back(static_cast<std::uint32_t>(i));
                }
                continue;
            }
            const bool apartAbove = i == 0 || BoundsHeading(scan_, marks_, i - 1);
            if (!apartAbove || line.Has(kLinePreformatted)) {
                continue;
            }
            const bool apartBelow = BoundsHeading(scan_, marks_, i + 1) && !CommentAt(i + 1);
            if (lead == '#' && i > 0 && CommentAt(i - 1)) {
                continue;  // a block of comment lines
            }
            if (lead == '#' && line.indent <= kMaxHashIndent) {
                const bool opening = i == *firstLine && apartBelow;
                if (std::optional<ShapedHeading> h = ReadHashes(content, opening, false)) {
                    h->line = static_cast<std::uint32_t>(i);
                    hashes.push_back(*h);
                    hashesApart += apartBelow || ProseBelow(i) ? 1 : 0;
                    opensDocument_ = opensDocument_ || opening;
                    continue;
                }
                if (std::optional<ShapedHeading> h = ReadHashes(content, opening, true);
                    h && apartBelow) {
                    h->line = static_cast<std::uint32_t>(i);
                    colonHashes.push_back(*h);
                    continue;
                }
            }
            if (!apartBelow) {
                continue;
            }
            if (std::optional<ShapedHeading> h = ReadFrame(content)) {
                h->line = static_cast<std::uint32_t>(i);
                result_.headings.push_back(*h);
            } else if (std::optional<ShapedHeading> s = ReadStar(content)) {
                s->line = static_cast<std::uint32_t>(i);
                stars.push_back(*s);
            }
        }
        // Markdown lets text follow a hash line at once; a document that writes so writes
        // several, and sets at least one of them apart or over a sentence.
        // Comments of a configuration file or a script stand over their lines: where most
        // hash lines do, only those set apart may be headings.
        const bool markdown = hashesApart * 2 >= hashes.size() &&
                              (hashes.size() >= kMarkdownHashLines || hashesApart >= 1);
        std::erase_if(hashes, [&](const ShapedHeading& h) {
            return !markdown && !BoundsHeading(scan_, marks_, h.line + 1);
        });
        // Where hash lines are plainly the document's headings, one ending in a colon set
        // apart from the text is one of them.
        if (markdown && hashes.size() >= kMarkdownHashLines) {
            hashes.insert(hashes.end(), colonHashes.begin(), colonHashes.end());
        }
        // A lone hash line set apart whose words name a chapter ("# Chapter 2. apt-get") is
        // that chapter's heading: no comment of a script reads so.
        const bool namesChapter = hashes.size() == 1 && hashesApart == 1 &&
                                  BoundsHeading(scan_, marks_, hashes.front().line + 1) &&
                                  NamesChapter(hashes.front());
        if (hashes.size() >= 2 || (hashes.size() == 1 && (opensDocument_ || namesChapter))) {
            result_.headings.insert(result_.headings.end(), hashes.begin(), hashes.end());
            result_.markdown = markdown && hashes.size() >= kMarkdownHashLines;
        }
        KeepStarsThatAreNoList(stars);
        std::sort(result_.headings.begin(), result_.headings.end(),
                  [](const ShapedHeading& a, const ShapedHeading& b) { return a.line < b.line; });
        return std::move(result_);
    }

  private:
    // The title of a hash line is a chapter line, numbered, of a chapter proper.
    bool NamesChapter(const ShapedHeading& h) {
        const std::string_view content = LineContent(reader_.Text(doc_.blocks[h.line]));
        const std::string_view title = utf8::Trim(content.substr(
            std::min<std::size_t>(h.markupLead, content.size()),
            content.size() - std::min<std::size_t>(h.markupLead + h.markupTrail, content.size())));
        std::string spaced;
        const std::optional<ChapterLineMatch> match =
            MatchChapterLine(WithPlainSpaces(title, spaced), scratch_);
        return match && match->kind == DivisionKind::Chapter && match->number > 0 &&
               !match->bareNumeral && !match->section;
    }

    // The line under a hash line opens a sentence ("We welcome your changes."), as the text
    // under a heading does; under a comment stands a command or a setting.
    bool ProseBelow(std::size_t i) {
        if (i + 1 >= scan_.lines.size() || CommentAt(i + 1)) {
            return false;
        }
        const LineFacts& next = scan_.lines[i + 1];
        return next.IsPlainText() && next.indent == 0 && next.words >= kProseWords &&
               next.Has(kLineStartsUpper | kLineStartsSpaceless) &&
               !next.Has(kLineCodeLike | kLinePreformatted | kLineListItem);
    }

    // A line that opens with a hash: a comment of a script or a configuration file.
    bool CommentAt(std::size_t i) {
        if (i >= scan_.lines.size() || !scan_.lines[i].IsText()) {
            return false;
        }
        return LineContent(reader_.Text(doc_.blocks[i])).starts_with("#");
    }

    // ".. rubric:: 11.1. Mail server" and its option lines (":name: mail-server") below it,
    // which are markup too. Returns the last line taken.
    std::size_t TakeRubric(std::size_t i, std::string_view content) {
        constexpr std::string_view kRubric = ".. rubric::";
        if (!content.starts_with(kRubric)) {
            return i;
        }
        const std::size_t titleAt = SkipBlanksFrom(content, kRubric.size());
        const std::string_view title = content.substr(titleAt);
        if (titleAt == kRubric.size() || !IsTitleText(title, kMaxMarkedTitleColumns) ||
            titleAt > 0xFF) {
            return i;
        }
        ShapedHeading heading;
        heading.line = static_cast<std::uint32_t>(i);
        heading.kind = HeadingStyleKind::Rubric;
        heading.run = NumberingLevel(title);
        heading.markupLead = static_cast<std::uint8_t>(titleAt);
        std::size_t last = i;
        // A title too long for the line goes on in the next, set deeper, before the options.
        if (i + 1 < scan_.lines.size() && scan_.lines[i + 1].IsText() &&
            scan_.lines[i + 1].indent > scan_.lines[i].indent &&
            !LineContent(reader_.Text(doc_.blocks[i + 1])).starts_with(":")) {
            heading.closing = FrameClosing::NextLine;
            last = i + 1;
        }
        result_.headings.push_back(heading);
        for (std::size_t j = last + 1; j < scan_.lines.size() && scan_.lines[j].IsText() &&
                                       scan_.lines[j].indent > scan_.lines[i].indent;
             ++j) {
            const std::string_view option = LineContent(reader_.Text(doc_.blocks[j]));
            const std::size_t close = option.find(": ");
            if (!option.starts_with(":") || close == std::string_view::npos ||
                option.substr(1, close - 1).find(' ') != std::string_view::npos) {
                break;
            }
            result_.navigation.push_back(static_cast<std::uint32_t>(j));
            result_.headings.back().named =
                result_.headings.back().named || option.starts_with(":name:");
            last = j;
        }
        return last;
    }

    // "11.1.2. Title" is at level 3, a chapter line or an unnumbered title at level 1.
    std::uint8_t NumberingLevel(std::string_view title) {
        std::string spaced;
        const std::optional<SectionLine> section = MatchSectionLine(WithPlainSpaces(title, spaced));
        return section ? static_cast<std::uint8_t>(std::min<std::size_t>(section->path.depth, 6))
                       : 1;
    }

    // Only blank lines lie between the two lines.
    bool OnlyBlanksBetween(std::uint32_t a, std::uint32_t b) const {
        for (std::uint32_t i = a + 1; i < b; ++i) {
            if (!scan_.lines[i].Has(kLineBlank)) {
                return false;
            }
        }
        return true;
    }

    void KeepStarsThatAreNoList(const std::vector<ShapedHeading>& stars) {
        std::unordered_map<char32_t, std::size_t> perMark;
        for (const ShapedHeading& s : stars) {
            ++perMark[s.mark];
        }
        std::size_t start = 0;
        for (std::size_t k = 1; k <= stars.size(); ++k) {
            if (k < stars.size() && stars[k].mark == stars[k - 1].mark &&
                OnlyBlanksBetween(stars[k - 1].line, stars[k].line)) {
                continue;
            }
            for (std::size_t j = start; j < k; ++j) {
                if (k - start < kStarListRun && perMark[stars[j].mark] >= 2) {
                    result_.headings.push_back(stars[j]);
                }
            }
            start = k;
        }
    }

    const Document& doc_;
    BlockTextReader reader_;
    const LineScan& scan_;
    const LineMarks& marks_;
    MarkedLines result_;
    bool opensDocument_ = false;
    std::string scratch_;
};

}  // namespace

MarkedLines FindMarkedHeadings(const Document& doc, const LineScan& scan, const LineMarks& marks) {
    return Marked(doc, scan, marks).Run();
}

}  // namespace Tessaly::Docs
