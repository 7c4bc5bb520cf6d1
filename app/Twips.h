#pragma once
// Control sizes are designed in twips; at 96 dots per inch 15 twips make one pixel.

namespace quillane {

// The nearest whole pixel.
constexpr int Twips(int twips) {
    return (2 * twips + 15) / 30;
}

}  // namespace quillane
