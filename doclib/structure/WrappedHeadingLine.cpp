#include "doclib/structure/WrappedHeadingLine.h"

#include <algorithm>
#include <array>

namespace Tessaly::Docs {

namespace {

// A heading cut by the width reaches this share of it, in tenths.
constexpr std::uint32_t kNearWidthTenths = 8;
// Narrower than this, lines are not cut by a width.
constexpr std::uint32_t kMinWidth = 40;
// A length reached by this share of the most frequent long length, or more, is below the width.
constexpr std::size_t kPileShare = 4;

}  // namespace

std::uint32_t TextCutWidth(const LineScan& scan) {
    // Lines of a wrapped text pile up just short of the width; a few longer lines of code or
    // tables stand beyond it.
    std::array<std::size_t, kLongLine + 1> count{};
    for (const LineFacts& line : scan.lines) {
        if (line.IsPlainText() && !line.Has(kLinePreformatted) && line.length <= kLongLine) {
            ++count[line.length];
        }
    }
    const std::size_t peak = *std::max_element(count.begin() + kMinWidth, count.end());
    std::uint32_t width = 0;
    for (std::uint32_t length = kMinWidth; length <= kLongLine; ++length) {
        if (peak > 0 && count[length] * kPileShare >= peak) {
            width = length;
        }
    }
    return width;
}

bool HeadingGoesOnBelow(const LineScan& scan, const DocumentShape& shape, std::uint32_t width,
                        std::size_t i) {
    const std::size_t n = scan.lines.size();
    if (i + 1 >= n) {
        return false;
    }
    const LineFacts& line = scan.lines[i];
    const LineFacts& next = scan.lines[i + 1];
    if (!line.IsPlainText() || !next.IsPlainText() || next.Has(kLineListItem | kLinePreformatted) ||
        next.indent > line.indent || next.length - next.indent >= line.length - line.indent ||
        (i + 2 < n && scan.lines[i + 2].IsPlainText())) {
        return false;
    }
    if (shape.Wrapped(scan, i)) {
        return true;
    }
    const std::uint32_t gap =
        next.Has(kLineStartsSpaceless) || line.Has(kLineEndsSpaceless) ? 0 : 1;
    return width > 0 && line.length * 10 >= width * kNearWidthTenths &&
           line.length + gap + next.firstWord > width;
}

}  // namespace Tessaly::Docs
