#include "doclib/structure/Adornment.h"

#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kMinMarks = 3;
// A rule this much longer than its title (and this many columns beyond it) is a separator.
constexpr std::uint32_t kMaxOverhangColumns = 12;

// The marks titles are adorned with: the ASCII punctuation reStructuredText, Sphinx, Texinfo and
// Markdown use, and the full-width, box-drawing and dash rules of CJK texts.
struct MarkShape {
    std::uint8_t width = 0;  // 0: no adornment mark
    bool eitherWidth = false;
};

MarkShape ShapeOfMark(char32_t c) {
    switch (c) {
        case '=':
        case '-':
        case '~':
        case '^':
        case '*':
        case '+':
        case '#':
        case '.':
        case '_':
        case ':':
        case '"':
        case '\'':
        case '`':
            return {1, false};
        case 0x2014:  // —
        case 0x2015:  // ―
        case 0x2500:  // ─
        case 0x2501:  // ━
        case 0x2550:  // ═
            return {1, true};
        case 0x30FC:  // ー
        case 0xFF0A:  // ＊
        case 0xFF0D:  // －
        case 0xFF1D:  // ＝
        case 0xFF3F:  // ＿
        case 0xFF5E:  // ～
            return {2, false};
        default:
            return {};
    }
}

bool FitsWidth(std::uint32_t columns, std::uint32_t titleColumns) {
    return columns * 10 >= titleColumns * 7 &&
           (columns <= 2 * titleColumns || columns <= titleColumns + kMaxOverhangColumns);
}

}  // namespace

std::optional<Adornment> ReadAdornment(std::string_view content) {
    if (content.empty()) {
        return std::nullopt;
    }
    const utf8::CodePoint first = utf8::DecodeAt(content, 0);
    const MarkShape shape = ShapeOfMark(first.value);
    if (shape.width == 0 || content.size() % first.length != 0) {
        return std::nullopt;
    }
    const std::string_view unit = content.substr(0, first.length);
    for (std::size_t at = first.length; at < content.size(); at += first.length) {
        if (content.compare(at, first.length, unit) != 0) {
            return std::nullopt;
        }
    }
    const auto count = static_cast<std::uint32_t>(content.size() / first.length);
    if (count < kMinMarks) {
        return std::nullopt;
    }
    return Adornment{first.value, count, shape.width, shape.eitherWidth};
}

bool AdornmentFits(const Adornment& adornment, std::uint32_t titleColumns) {
    if (titleColumns == 0) {
        return false;
    }
    return FitsWidth(AdornmentColumns(adornment), titleColumns) ||
           (adornment.eitherWidth && FitsWidth(2 * adornment.count, titleColumns));
}

}  // namespace Tessaly::Docs
