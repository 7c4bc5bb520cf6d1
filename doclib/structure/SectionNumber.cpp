#include "doclib/structure/SectionNumber.h"

#include <unicode/uchar.h>

#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::size_t kMaxNumberDigits = 3;
constexpr std::size_t kMaxTitleCodePoints = 120;

}  // namespace

bool IsTitlePhrase(std::string_view title) {
    if (title.empty() || title.find("..") != std::string_view::npos ||
        title.find(". .") != std::string_view::npos) {
        return false;
    }
    std::size_t codePoints = 0;
    bool letter = false;
    for (std::size_t i = 0; i < title.size();) {
        const utf8::CodePoint cp = utf8::DecodeAt(title, i);
        letter = letter || u_isalpha(static_cast<UChar32>(cp.value)) != 0;
        i += cp.length;
        if (++codePoints > kMaxTitleCodePoints) {
            return false;
        }
    }
    // A sentence or clause ends in its mark, the full-width ones of CJK text among them.
    const char32_t last = utf8::DecodeBefore(title, title.size()).value;
    return letter && last != '.' && last != ',' && last != ';' && last != ':' && last != 0x3002 &&
           last != 0xFF0C && last != 0xFF0E && last != 0xFF1A && last != 0xFF1B;
}

std::optional<SectionLine> MatchSectionLine(std::string_view trimmed) {
    SectionLine line;
    SectionPath& path = line.path;
    std::size_t at = 0;
    bool dotted = false;  // the last part was closed by a '.'
    while (at < trimmed.size() && path.depth < kMaxSectionDepth) {
        const std::size_t start = at;
        std::uint32_t value = 0;
        while (at < trimmed.size() && utf8::IsAsciiDigit(trimmed[at]) &&
               at - start <= kMaxNumberDigits) {
            value = value * 10 + static_cast<std::uint32_t>(trimmed[at] - '0');
            ++at;
        }
        if (at - start > kMaxNumberDigits) {
            return std::nullopt;
        }
        if (at == start) {
            const char c = trimmed[at];
            if (path.depth != 0 || c < 'A' || c > 'Z') {
                return std::nullopt;
            }
            path.lettered = true;
            value = static_cast<std::uint32_t>(c - 'A' + 1);
            ++at;
        }
        if (value == 0) {
            return std::nullopt;
        }
        path.parts[path.depth++] = static_cast<std::uint16_t>(value);
        dotted = at < trimmed.size() && trimmed[at] == '.';
        if (!dotted) {
            break;
        }
        ++at;
        if (at < trimmed.size() && utf8::IsBlankByte(trimmed[at])) {
            break;
        }
    }
    if (path.depth == 0 || at >= trimmed.size() || !utf8::IsBlankByte(trimmed[at])) {
        return std::nullopt;
    }
    // A lone letter is an initial ("A. Smith"), a lone number without its dot a count
    // ("3 apples") unless a capitalised title follows.
    if (path.lettered && path.depth == 1) {
        return std::nullopt;
    }
    while (at < trimmed.size() && utf8::IsBlankByte(trimmed[at])) {
        ++at;
    }
    const std::string_view title = trimmed.substr(at);
    if (!IsTitlePhrase(title)) {
        return std::nullopt;
    }
    if (path.depth == 1 && !dotted) {
        const char32_t first = utf8::DecodeAt(title, 0).value;
        if (u_islower(static_cast<UChar32>(first)) != 0) {
            return std::nullopt;
        }
    }
    line.titleAt = at;
    return line;
}

bool FollowsInNumbering(const SectionPath& previous, const SectionPath& next) {
    if (next.depth == 0) {
        return false;
    }
    if (next.depth == previous.depth + 1) {
        // The first subsection of the previous one.
        for (std::size_t k = 0; k < previous.depth; ++k) {
            if (previous.parts[k] != next.parts[k]) {
                return false;
            }
        }
        return next.parts[next.depth - 1] == 1 && next.lettered == previous.lettered;
    }
    if (next.depth > previous.depth) {
        return false;
    }
    // The next one at depth `next.depth`: the parts above are the same, the last one more by 1.
    const std::size_t last = next.depth - 1;
    for (std::size_t k = 0; k < last; ++k) {
        if (previous.parts[k] != next.parts[k]) {
            return false;
        }
    }
    if (next.lettered != previous.lettered) {
        // Appendices after the numbered chapters start again at A.
        return last == 0 && next.lettered && next.parts[0] == 1;
    }
    // One number may be missing: a heading the text lost, or one too long to be seen.
    return next.parts[last] == previous.parts[last] + 1 ||
           next.parts[last] == previous.parts[last] + 2;
}

}  // namespace Tessaly::Docs
