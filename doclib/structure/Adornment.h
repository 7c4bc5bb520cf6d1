#pragma once
// An adornment line: one punctuation mark repeated ("=====", "-----", "*****", "~~~~~",
// "^^^^^", "....."), the way plain-text writers and text renderers underline (and overline) a
// title. Whether it stands under a title is the heading finders' question.

#include <cstdint>
#include <optional>
#include <string_view>

namespace Tessaly::Docs {

struct Adornment {
    char32_t mark = 0;
    std::uint32_t count = 0;  // marks on the line
    // Columns of one mark: 2 for full-width marks; box-drawing rules and dashes are drawn one
    // or two columns wide depending on the writer's terminal, so either width is taken.
    std::uint8_t width = 1;
    bool eitherWidth = false;
};

// `content` is the line without its outer blanks. At least three marks, nothing else.
std::optional<Adornment> ReadAdornment(std::string_view content);

// The adornment is as wide as a title of `titleColumns` columns is, give or take the slack
// writers allow themselves: at least seven tenths of it, and not far longer.
bool AdornmentFits(const Adornment& adornment, std::uint32_t titleColumns);

// Columns the adornment spans, in the narrow reading when it has two.
inline std::uint32_t AdornmentColumns(const Adornment& adornment) {
    return adornment.count * adornment.width;
}

}  // namespace Tessaly::Docs
