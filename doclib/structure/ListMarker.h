#pragma once
// The marker that opens a list item: a bullet ("*", "-", "+", "•", "◦", "▪", "‣"), or a number
// or a letter closed by "." or ")" ("3.", "12)", "(4)", "b)"), followed by a space. Dashes that
// open dialogue ("– Yes.", "— No.") are no bullets.

#include <cstdint>
#include <optional>
#include <string_view>

namespace Tessaly::Docs {

struct ListMarker {
    bool ordered = false;
    std::uint32_t number = 0;   // of an ordered marker; a letter counts from a = 1
    std::uint16_t columns = 0;  // the marker and the blanks after it: where the item's text begins
};

// `content` is the line without its indentation.
std::optional<ListMarker> ParseListMarker(std::string_view content);

}  // namespace Tessaly::Docs
