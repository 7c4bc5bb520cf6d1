#include "doclib/structure/DocumentShape.h"

#include <array>

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kMinWrap = 30;
constexpr std::uint32_t kMaxWrap = 160;
// Wrappers differ by a column or two in how they count; the evidence is the cluster of lines
// just below the width.
constexpr std::uint32_t kWrapSlack = 2;

constexpr std::uint32_t kPileColumns = 10;
// Share in per cent of the lines that the pile just below a wrap width holds at the least.
constexpr std::size_t kPileShare = 15;
// Lines longer than the width found at the pile, in per cent at most.
constexpr std::size_t kOverlongShare = 10;

using LengthHistogram = std::array<std::size_t, kMaxWrap + 2>;

std::size_t LinesJustBelow(const LengthHistogram& histogram, std::uint32_t width) {
    std::size_t count = 0;
    for (std::uint32_t w = width + 1 - kPileColumns; w <= width; ++w) {
        count += histogram[w];
    }
    return count;
}

std::size_t LinesJustAbove(const LengthHistogram& histogram, std::uint32_t width) {
    std::size_t count = 0;
    for (std::uint32_t w = width + 1; w <= width + kPileColumns && w < histogram.size(); ++w) {
        count += histogram[w];
    }
    return count;
}

// The width with the steepest edge: many lines just below it, few just above, and few longer
// at all. 0 when there is no such edge.
std::uint32_t WidthAtThePile(const LengthHistogram& histogram, std::size_t counted) {
    std::uint32_t best = 0;
    std::size_t bestEdge = 0;
    std::size_t longer = histogram[kMaxWrap + 1];  // the lines longer than w
    for (std::uint32_t w = kMaxWrap; w >= kMinWrap; --w) {
        const std::size_t below = LinesJustBelow(histogram, w);
        const std::size_t aboveNear = LinesJustAbove(histogram, w);
        if (longer * 100 <= counted * kOverlongShare && below * 100 >= counted * kPileShare &&
            below > 2 * aboveNear && below - 2 * aboveNear > bestEdge) {
            best = w;
            bestEdge = below - 2 * aboveNear;
        }
        longer += histogram[w];
    }
    return best;
}

// The width that all but the longest two per cent of the lines keep to. Indented lines are
// left out when there are enough others: wrappers count a tab or an indent in their own way.
std::uint32_t EstimateWrapWidth(const LineScan& scan, std::size_t textLines,
                                std::size_t indentedLines) {
    const bool flushOnly = (textLines - indentedLines) * 3 >= textLines;
    LengthHistogram histogram{};
    std::size_t counted = 0;
    for (const LineFacts& line : scan.lines) {
        // Tables and listings keep their own widths, often wider than the wrap.
        if (line.IsPlainText() && !line.Has(kLinePreformatted | kLineCodeLike) &&
            (!flushOnly || line.indent == 0)) {
            ++histogram[line.length > kMaxWrap ? kMaxWrap + 1 : line.length];
            ++counted;
        }
    }
    const std::size_t allowedAbove = counted / 50;
    std::size_t above = 0;
    std::uint32_t width = 0;
    for (std::size_t w = kMaxWrap + 1; w > 0; --w) {
        above += histogram[w];
        if (above > allowedAbove) {
            width = static_cast<std::uint32_t>(w);
            break;
        }
    }
    // A wrapped text piles its lines up just below the width. Where the longest two per cent
    // show no such pile, they are lines of another kind (a manual's node headers, addresses,
    // a table), and the width is the edge of the pile below them.
    if (width >= kMinWrap && width <= kMaxWrap &&
        LinesJustBelow(histogram, width) * 100 < counted * kPileShare) {
        width = WidthAtThePile(histogram, counted);
    }
    return width;
}

}  // namespace

bool DocumentShape::Wrapped(const LineScan& scan, std::size_t i) const {
    if (!hardWrapped || i + 1 >= scan.lines.size()) {
        return false;
    }
    const LineFacts& line = scan.lines[i];
    const LineFacts& next = scan.lines[i + 1];
    if (!line.IsPlainText() || !next.IsPlainText()) {
        return false;
    }
    // Scripts written without spaces need none where the line was cut.
    const std::uint32_t gap =
        next.Has(kLineStartsSpaceless) || line.Has(kLineEndsSpaceless) ? 0 : 1;
    return line.length + gap + next.firstWord + kWrapSlack > wrapWidth;
}

DocumentShape JudgeShape(const LineScan& scan) {
    DocumentShape shape;
    std::size_t textLines = 0;
    std::size_t groups = 0;
    std::size_t innerBlankRuns = 0;  // blank lines between text, a run counted once
    std::size_t longLines = 0;
    std::size_t indented = 0;
    bool inGroup = false;
    bool blankSinceText = false;
    for (const LineFacts& line : scan.lines) {
        if (line.Has(kLineBlank)) {
            blankSinceText = textLines > 0;
        }
        if (!line.IsPlainText()) {
            inGroup = false;
            continue;
        }
        innerBlankRuns += blankSinceText ? 1 : 0;
        blankSinceText = false;
        ++textLines;
        groups += inGroup ? 0 : 1;
        inGroup = true;
        longLines += line.length > kLongLine ? 1 : 0;
        indented += line.indent > 0 ? 1 : 0;
    }
    if (textLines == 0) {
        return shape;
    }
    // Blank lines part paragraphs when they are frequent and the groups between them small;
    // a few blank lines around chapter titles do not make a text blank-separated, nor do the
    // blank lines before and after the text.
    shape.blankSeparated =
        innerBlankRuns > 0 && innerBlankRuns * 20 >= textLines && textLines <= groups * 15;
    shape.indentMarked = indented * 100 >= textLines * 3 && indented * 10 <= textLines * 7;

    const std::uint32_t width = EstimateWrapWidth(scan, textLines, indented);
    if (width >= kMinWrap && width <= kMaxWrap) {
        DocumentShape probe = shape;
        probe.hardWrapped = true;
        probe.wrapWidth = width;
        std::size_t pairs = 0;
        std::size_t wrapped = 0;
        std::size_t casedNext = 0;
        std::size_t lowerNext = 0;
        std::size_t runOn = 0;  // wrapped lines that end on a word, mid-sentence
        for (std::size_t i = 0; i + 1 < scan.lines.size(); ++i) {
            if (!scan.lines[i].IsPlainText() || !scan.lines[i + 1].IsPlainText()) {
                continue;
            }
            ++pairs;
            if (probe.Wrapped(scan, i)) {
                ++wrapped;
                const LineFacts& next = scan.lines[i + 1];
                casedNext += next.Has(kLineStartsLower | kLineStartsUpper) ? 1 : 0;
                lowerNext += next.Has(kLineStartsLower) ? 1 : 0;
                runOn += scan.lines[i].Has(kLineEndsWord) ? 1 : 0;
            }
        }
        // Wrapped prose goes on mid-sentence, so many continuation lines start in lowercase
        // and most cut lines end on a word; verse of even line lengths starts every line with
        // a capital and ends most of them on a mark. German prose capitalises its nouns, so
        // the capitals alone do not tell.
        const bool versePattern =
            casedNext >= 10 && lowerNext * 5 < casedNext && runOn * 2 < wrapped;
        if (wrapped >= 3 && wrapped * 10 >= pairs * 3 && !versePattern) {
            shape.hardWrapped = true;
            shape.wrapWidth = width;
        }
    }
    shape.prose = shape.hardWrapped || shape.indentMarked || longLines * 10 >= textLines;
    return shape;
}

}  // namespace Tessaly::Docs
