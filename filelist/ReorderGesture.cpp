#include "filelist/ReorderGesture.h"

#include <cstdlib>

namespace quillane {

void DragThreshold::Press(int x, int y, int distance) {
    held_ = true;
    passed_ = false;
    pressX_ = x;
    pressY_ = y;
    distance_ = distance;
}

void DragThreshold::Release() {
    held_ = false;
    passed_ = false;
}

bool DragThreshold::Passed(int x, int y) {
    if (held_ && !passed_) {
        passed_ = std::abs(x - pressX_) + std::abs(y - pressY_) >= distance_;
    }
    return passed_;
}

int RowToReveal(int row, int count, int screenY) {
    if (screenY < kScrollUpBelow) {
        return row > 1 ? row - 1 : 0;
    }
    if (screenY >= kScrollDownFrom) {
        return row < count ? row + 1 : 0;
    }
    return 0;
}

}  // namespace quillane
