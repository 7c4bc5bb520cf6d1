#include "doclib/structure/ListMarker.h"

#include <array>

#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::size_t kMaxMarkerDigits = 3;

// Bytes of the blank at `at`: a space or tab, or the no-break space that renders of web pages
// set after a bullet ("•\u00A0item"); 0 for anything else.
std::size_t BlankBytesAt(std::string_view content, std::size_t at) {
    if (at >= content.size()) {
        return 0;
    }
    if (utf8::IsBlankByte(content[at])) {
        return 1;
    }
    return content.substr(at).starts_with("\u00A0") ? 2 : 0;
}

// The blanks after a marker of `bytes` bytes and `columns` columns; nothing when none follow.
std::optional<ListMarker> Finish(std::string_view content, std::size_t bytes, std::size_t columns,
                                 ListMarker marker) {
    if (BlankBytesAt(content, bytes) == 0) {
        return std::nullopt;
    }
    std::size_t at = bytes;
    while (const std::size_t blank = BlankBytesAt(content, at)) {
        at += blank;
        ++columns;
    }
    if (at == content.size()) {
        return std::nullopt;  // a marker with no text is no item
    }
    marker.columns = static_cast<std::uint16_t>(columns);
    return marker;
}

}  // namespace

std::optional<ListMarker> ParseListMarker(std::string_view content) {
    if (content.size() < 2) {
        return std::nullopt;
    }
    const char first = content[0];
    if (first == '*' || first == '-' || first == '+') {
        return Finish(content, 1, 1, ListMarker{});
    }
    static constexpr std::array<std::string_view, 6> kBullets = {"\u2022", "\u25E6", "\u25AA",
                                                                 "\u2023", "\u00B7", "\u25CF"};
    for (std::string_view bullet : kBullets) {
        if (content.starts_with(bullet)) {
            return Finish(content, bullet.size(), 1, ListMarker{});
        }
    }
    // "1.", "12)", "(3)", "a)", "b."
    const bool parenthesised = first == '(';
    std::size_t i = parenthesised ? 1 : 0;
    const std::size_t start = i;
    std::uint32_t number = 0;
    while (i < content.size() && i - start < kMaxMarkerDigits + 1 && content[i] >= '0' &&
           content[i] <= '9') {
        number = number * 10 + static_cast<std::uint32_t>(content[i] - '0');
        ++i;
    }
    if (i - start > kMaxMarkerDigits) {
        return std::nullopt;  // a year or an amount, not an item number
    }
    if (i == start && i < content.size() && content[i] >= 'a' && content[i] <= 'z') {
        number = static_cast<std::uint32_t>(content[i] - 'a' + 1);
        ++i;
    }
    if (i == start || i >= content.size()) {
        return std::nullopt;
    }
    const char close = content[i];
    const bool closes = parenthesised ? close == ')' : (close == '.' || close == ')');
    if (!closes) {
        return std::nullopt;
    }
    ListMarker marker;
    marker.ordered = true;
    marker.number = number;
    return Finish(content, i + 1, i + 1, marker);
}

}  // namespace Tessaly::Docs
