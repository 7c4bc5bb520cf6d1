#include "doclib/structure/DocumentShape.h"

#include <array>

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kMinWrap = 30;
constexpr std::uint32_t kMaxWrap = 160;
// Wrappers differ by a column or two in how they count; the evidence is the cluster of lines
// just below the width.
constexpr std::uint32_t kWrapSlack = 2;

// The width that all but the longest two per cent of the lines keep to. Indented lines are
// left out when there are enough others: wrappers count a tab or an indent in their own way.
std::uint32_t EstimateWrapWidth(const LineScan& scan, std::size_t textLines,
                                std::size_t indentedLines) {
    const bool flushOnly = (textLines - indentedLines) * 3 >= textLines;
    std::array<std::size_t, kMaxWrap + 2> histogram{};
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
    for (std::size_t width = kMaxWrap + 1; width > 0; --width) {
        above += histogram[width];
        if (above > allowedAbove) {
            return static_cast<std::uint32_t>(width);
        }
    }
    return 0;
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
