#pragma once
// The hot spot of a Windows cursor file (.cur): the pixel of the image that points. Qt's
// image reader reads the picture but not this, so we take it from the file's directory entry.

#include <optional>
#include <string_view>

namespace quillane {

struct Hotspot {
    int x = 0;
    int y = 0;
};

// The first image's hot spot, or none when the bytes are not a cursor file.
std::optional<Hotspot> CursorHotspot(std::string_view bytes);

}  // namespace quillane
