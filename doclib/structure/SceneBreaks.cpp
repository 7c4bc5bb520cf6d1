#include "doclib/structure/SceneBreaks.h"

#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

bool IsOrnament(char32_t c) {
    switch (c) {
        case '*':
        case '#':
        case '~':
        case '-':
        case '=':
        case '_':
        case '+':
        case 0xA7:    // §
        case 0xB6:    // ¶
        case 0xB7:    // ·
        case 0xB0:    // °
        case 0x2013:  // –
        case 0x2014:  // —
        case 0x2022:  // •
        case 0x2042:  // ⁂
        case 0x203B:  // ※
        case 0x2E3A:  // ⸺
        case 0x2E3B:  // ⸻
        case 0x25C6:
        case 0x25C7:
        case 0x2666:  // diamonds
        case 0x2605:
        case 0x2606:  // stars
            return true;
        default:
            // Dingbats (❦ ❧ ✻ ✽ ✦ ...), all symbols without letters.
            return c >= 0x2700 && c <= 0x27BF;
    }
}

}  // namespace

bool IsOrnamentLine(std::string_view trimmed) {
    constexpr std::size_t kMaxLength = 80;
    if (trimmed.empty() || trimmed.size() > 4 * kMaxLength) {
        return false;
    }
    std::size_t marks = 0;
    std::size_t dots = 0;
    bool spaced = false;
    for (std::size_t i = 0; i < trimmed.size();) {
        const utf8::CodePoint cp = utf8::DecodeAt(trimmed, i);
        i += cp.length;
        if (cp.value == ' ' || cp.value == '\t') {
            spaced = true;
        } else if (cp.value == '.') {
            ++dots;
        } else if (IsOrnament(cp.value)) {
            ++marks;
        } else {
            return false;
        }
        if (marks + dots > kMaxLength) {
            return false;
        }
    }
    // Spaced dots (". . .") mark a break; a bare "..." is an ellipsis, silence in a dialogue.
    if (dots > 0) {
        return marks == 0 && dots >= 2 && spaced;
    }
    return marks > 0;
}

void MarkSceneBreaks(const LineScan& scan, const DocumentShape& shape, LineMarks& marks) {
    auto apart = [&scan](std::size_t i) {
        return i >= scan.lines.size() || !scan.lines[i].IsText() ||
               scan.lines[i].Has(kLineOrnament);
    };
    for (std::size_t i = 0; i < scan.lines.size(); ++i) {
        const LineFacts& line = scan.lines[i];
        if (!line.IsText() || !line.Has(kLineOrnament)) {
            continue;
        }
        if (!shape.blankSeparated || ((i == 0 || apart(i - 1)) && apart(i + 1))) {
            marks[i] = {LineRole::SceneBreak, 0};
        }
    }
}

}  // namespace Tessaly::Docs
