#pragma once
// The two judgements of the list's press-and-drag gesture that need no list: when a press has
// become a drag, and which row a swap brings into view.

namespace quillane {

// A press becomes the reorder gesture only once the pointer has travelled the desktop's drag
// distance from the press point (measured as the desktop does, |dx| + |dy|), so a click, a
// double-click or a tap with a small wobble never moves a row. Once passed, it stays passed
// until the release.
class DragThreshold {
  public:
    void Press(int x, int y, int distance);
    void Release();
    // True when the button is held and the pointer at (x, y) is, or has been, `distance` or
    // more from the press point.
    bool Passed(int x, int y);

  private:
    bool held_ = false;
    bool passed_ = false;
    int pressX_ = 0;
    int pressY_ = 0;
    int distance_ = 0;
};

// Pointer heights on the screen above and below which a swap scrolls the list.
inline constexpr int kScrollUpBelow = 305;
inline constexpr int kScrollDownFrom = 365;

// The row (1-based) to make visible after a swap onto `row` of `count` rows, judged by the
// pointer's vertical screen position: the row above when it is high, the row below when it is
// low, none (0) in between or when there is no such row.
int RowToReveal(int row, int count, int screenY);

}  // namespace quillane
