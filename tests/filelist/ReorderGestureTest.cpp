#include "filelist/ReorderGesture.h"

#include <gtest/gtest.h>

namespace quillane {
namespace {

TEST(DragThreshold, PassedOnlyWithTheButtonHeldAndOnceTheDistanceIsGone) {
    DragThreshold threshold;
    EXPECT_FALSE(threshold.Passed(500, 500));  // no press yet
    threshold.Press(100, 50, 10);
    EXPECT_FALSE(threshold.Passed(101, 50));
    EXPECT_FALSE(threshold.Passed(95, 54));  // 5 + 4: still a wobble
    EXPECT_TRUE(threshold.Passed(96, 56));   // 4 + 6: the distance, measured as |dx| + |dy|
    // Once a drag, back over the press point it stays one until the release.
    EXPECT_TRUE(threshold.Passed(100, 50));
    threshold.Release();
    EXPECT_FALSE(threshold.Passed(300, 300));
    threshold.Press(0, 0, 10);
    EXPECT_FALSE(threshold.Passed(0, 9));
    EXPECT_TRUE(threshold.Passed(0, -10));
}

TEST(RowToReveal, AboveWhenHighBelowWhenLowNothingBetweenOrPastTheEnds) {
    EXPECT_EQ(RowToReveal(5, 10, 304), 4);
    EXPECT_EQ(RowToReveal(1, 10, 0), 0);
    EXPECT_EQ(RowToReveal(5, 10, 305), 0);
    EXPECT_EQ(RowToReveal(5, 10, 364), 0);
    EXPECT_EQ(RowToReveal(5, 10, 365), 6);
    EXPECT_EQ(RowToReveal(10, 10, 2000), 0);
    EXPECT_EQ(RowToReveal(9, 10, 2000), 10);
}

}  // namespace
}  // namespace quillane
