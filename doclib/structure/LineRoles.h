#pragma once
// What each line of the document became in the refined book, decided before the arena is
// rebuilt: running text, a scene break, a heading, or the subtitle joined to the heading above.

#include <cstdint>
#include <vector>

namespace Tessaly::Docs {

enum class LineRole : std::uint8_t { Text, SceneBreak, Heading, Subtitle };

struct LineMark {
    LineRole role = LineRole::Text;
    std::uint8_t level = 0;  // of a Heading
};

using LineMarks = std::vector<LineMark>;

}  // namespace Tessaly::Docs
