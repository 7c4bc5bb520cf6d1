#include "app/CursorHotspot.h"

#include <cstdint>

namespace quillane {

namespace {
int Word(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}
}  // namespace

std::optional<Hotspot> CursorHotspot(std::string_view bytes) {
    // Directory: reserved 0, type 2 (cursor), image count; then 16-byte entries whose bytes
    // 4-7 hold the hot spot's x and y.
    constexpr std::size_t kDirectory = 6;
    constexpr std::size_t kEntry = 16;
    if (bytes.size() < kDirectory + kEntry || Word(bytes, 0) != 0 || Word(bytes, 2) != 2 ||
        Word(bytes, 4) < 1) {
        return std::nullopt;
    }
    return Hotspot{Word(bytes, kDirectory + 4), Word(bytes, kDirectory + 6)};
}

}  // namespace quillane
