#include "doclib/structure/ShapedHeadings.h"

#include <algorithm>
#include <string>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/FramedTitleLines.h"
#include "doclib/structure/HeadingShape.h"
#include "doclib/structure/MarkedHeadings.h"
#include "doclib/structure/TitleFinder.h"
#include "doclib/structure/UnderlinedHeadings.h"

namespace Tessaly::Docs {

namespace {

constexpr std::size_t kMaxStyles = 64;
constexpr std::uint8_t kMaxHeadingLevel = 6;

// Both lists in line order; where both found a line, its rule is the stronger evidence.
std::vector<ShapedHeading> MergeByLine(const std::vector<ShapedHeading>& underlined,
                                       const std::vector<ShapedHeading>& marked) {
    std::vector<ShapedHeading> all;
    all.reserve(underlined.size() + marked.size());
    std::size_t u = 0;
    std::size_t m = 0;
    while (u < underlined.size() || m < marked.size()) {
        if (m == marked.size() || (u < underlined.size() && underlined[u].line <= marked[m].line)) {
            if (m < marked.size() && marked[m].line == underlined[u].line) {
                ++m;
            }
            all.push_back(underlined[u++]);
        } else {
            all.push_back(marked[m++]);
        }
    }
    return all;
}

// The styles in the order they first appear, hashes ranked by their count among themselves.
std::vector<std::uint64_t> RankStyles(const std::vector<ShapedHeading>& headings) {
    std::vector<std::uint64_t> styles;
    std::vector<std::size_t> hashSlots;
    std::vector<ShapedHeading> hashStyles;
    for (const ShapedHeading& h : headings) {
        const std::uint64_t style = h.Style();
        if (styles.size() >= kMaxStyles ||
            std::find(styles.begin(), styles.end(), style) != styles.end()) {
            continue;
        }
        if (h.kind == HeadingStyleKind::Hashes) {
            hashSlots.push_back(styles.size());
            hashStyles.push_back(h);
        }
        styles.push_back(style);
    }
    std::sort(hashStyles.begin(), hashStyles.end(),
              [](const ShapedHeading& a, const ShapedHeading& b) { return a.run < b.run; });
    for (std::size_t k = 0; k < hashSlots.size(); ++k) {
        styles[hashSlots[k]] = hashStyles[k].Style();
    }
    return styles;
}

std::uint8_t LevelOf(const std::vector<std::uint64_t>& styles, std::uint64_t style) {
    const auto at = std::find(styles.begin(), styles.end(), style);
    return static_cast<std::uint8_t>(
        std::min<std::ptrdiff_t>(at - styles.begin() + 1, kMaxHeadingLevel));
}

std::string CollapsedTitle(std::string_view text) {
    std::string out;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\t';
        if (!blank) {
            out.push_back(c);
        } else if (!out.empty() && out.back() != ' ') {
            out.push_back(' ');
        }
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

// Only blank lines and markup (a node line, the overline) come before the first heading.
bool OpensDocument(const LineScan& scan, const LineMarks& marks, const ShapedHeading& first) {
    const std::size_t overline = first.kind == HeadingStyleKind::Overlined ? 1 : 0;
    for (std::size_t i = 0; i + overline < first.line; ++i) {
        if (!scan.lines[i].Has(kLineBlank) && marks[i].role != LineRole::Decoration) {
            return false;
        }
    }
    return true;
}

bool StartsWithDigit(std::string_view text) {
    return !text.empty() && text[0] >= '0' && text[0] <= '9';
}

void TakeTitle(Document& doc, const LineScan& scan, const LineMarks& marks,
               const std::vector<ShapedHeading>& headings) {
    Metadata& meta = doc.metadata;
    if (headings.empty() || (!meta.title.empty() && !LooksLikeFileName(meta.title))) {
        return;
    }
    const ShapedHeading& first = headings.front();
    if (!OpensDocument(scan, marks, first)) {
        return;
    }
    BlockTextReader reader(doc);
    const std::string_view content = LineContent(reader.Text(doc.blocks[first.line]));
    if (std::size_t{first.markupLead} + first.markupTrail >= content.size()) {
        return;
    }
    const std::string title = CollapsedTitle(
        content.substr(first.markupLead, content.size() - first.markupLead - first.markupTrail));
    if (!title.empty()) {
        meta.title = title;
    }
}

// The unnumbered heading that opens a document whose other headings of its style are numbered
// ("1 Overview", "2 Invoking") is the title above them, whatever mark they share.
bool TitlesNumberedHeadings(const Document& doc, const LineScan& scan, const LineMarks& marks,
                            const std::vector<ShapedHeading>& headings) {
    if (headings.size() < 2 || !OpensDocument(scan, marks, headings.front())) {
        return false;
    }
    BlockTextReader reader(doc);
    const ShapedHeading& first = headings.front();
    if (StartsWithDigit(
            LineContent(reader.Text(doc.blocks[first.line])).substr(first.markupLead))) {
        return false;
    }
    std::size_t same = 0;
    std::size_t numbered = 0;
    for (std::size_t k = 1; k < headings.size(); ++k) {
        if (headings[k].Style() == first.Style()) {
            ++same;
            numbered += StartsWithDigit(LineContent(reader.Text(doc.blocks[headings[k].line]))
                                            .substr(headings[k].markupLead))
                            ? 1
                            : 0;
        }
    }
    return same > 0 && numbered * 2 >= same;
}

// Where a text has sections of its own, a rubric without an anchor is an aside's label
// ("Footnotes", "options" of a directive), which no contents list holds; one a converter wrote
// for a heading it could not set as a section carries the heading's anchor.
void WithoutInformalRubrics(std::vector<ShapedHeading>& headings) {
    const bool sectioned =
        std::any_of(headings.begin(), headings.end(), [](const ShapedHeading& h) {
            return h.kind == HeadingStyleKind::Underlined || h.kind == HeadingStyleKind::Overlined;
        });
    if (sectioned) {
        std::erase_if(headings, [](const ShapedHeading& h) {
            return h.kind == HeadingStyleKind::Rubric && !h.named;
        });
    }
}

}  // namespace

bool MarkShapedHeadings(Document& doc, const LineScan& scan, LineMarks& marks) {
    const MarkedLines marked = FindMarkedHeadings(doc, scan, marks);
    for (const std::uint32_t line : marked.navigation) {
        marks[line] = {LineRole::Decoration, 0};
    }
    std::vector<ShapedHeading> headings =
        MergeByLine(FindUnderlinedHeadings(doc, scan, marks),
                    MergeByLine(marked.headings, FindFramedTitleLines(doc, scan, marks)));
    WithoutInformalRubrics(headings);
    const std::vector<std::uint64_t> styles = RankStyles(headings);
    const bool titleAbove = TitlesNumberedHeadings(doc, scan, marks, headings);
    for (const ShapedHeading& h : headings) {
        std::uint8_t level =
            h.kind == HeadingStyleKind::Rubric ? h.run : LevelOf(styles, h.Style());
        if (titleAbove && h.line != headings.front().line) {
            level = std::min<std::uint8_t>(level + 1, kMaxHeadingLevel);
        }
        marks[h.line] = {LineRole::Heading, level, false, 0, h.markupLead, h.markupTrail};
        if (h.kind == HeadingStyleKind::Underlined || h.kind == HeadingStyleKind::Overlined) {
            marks[h.line + 1] = {LineRole::Decoration, 0};
        }
        if (h.kind == HeadingStyleKind::Overlined) {
            marks[h.line - 1] = {LineRole::Decoration, 0};
        }
        if (h.closing == FrameClosing::NextLine) {
            marks[h.line + 1] = {LineRole::HeadingContinuation, 0, false, 0, 0, h.closeTrail};
        } else if (h.closing == FrameClosing::RuleBelow) {
            marks[h.line + 1] = {LineRole::Decoration, 0};
        }
    }
    TakeTitle(doc, scan, marks, headings);
    return marked.markdown;
}

}  // namespace Tessaly::Docs
