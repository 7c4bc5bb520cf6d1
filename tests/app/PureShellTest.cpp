// The shell's pure pieces: the home-page draw, the cursor hot spot, the twips conversion.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "app/CursorHotspot.h"
#include "app/HomePageVisit.h"
#include "app/Twips.h"

namespace quillane {
namespace {

TEST(HomePageVisit, DrawIsTheFractionTimesAHundredCutPlusOne) {
    EXPECT_EQ(DrawOneToHundred(0.0), 1);
    EXPECT_EQ(DrawOneToHundred(0.0099), 1);
    EXPECT_EQ(DrawOneToHundred(0.06), 7);
    EXPECT_EQ(DrawOneToHundred(0.069), 7);
    EXPECT_EQ(DrawOneToHundred(0.07), 8);
    EXPECT_EQ(DrawOneToHundred(0.999999), 100);
    // Out of range or not a number never leaves 1..100.
    EXPECT_EQ(DrawOneToHundred(1.0), 100);
    EXPECT_EQ(DrawOneToHundred(-0.5), 1);
    EXPECT_EQ(DrawOneToHundred(std::numeric_limits<double>::quiet_NaN()), 1);
    EXPECT_TRUE(IsHomePageDraw(7));
    EXPECT_FALSE(IsHomePageDraw(8));
}

// Guards the seeding: a generator seeded alike at every start would open the home page at
// every start or at none.
TEST(HomePageVisit, TimeSeededFractionChangesFromCallToCall) {
    std::set<double> seen;
    for (int i = 0; i < 20; ++i) {
        const double f = TimeSeededFraction();
        ASSERT_GE(f, 0.0);
        ASSERT_LT(f, 1.0);
        seen.insert(f);
    }
    EXPECT_GT(seen.size(), 10u);
}

std::string CursorHeader(int type, int count, int hotX, int hotY) {
    std::string bytes(22, '\0');
    bytes[2] = static_cast<char>(type);
    bytes[4] = static_cast<char>(count);
    bytes[6] = 32;
    bytes[7] = 32;
    bytes[10] = static_cast<char>(hotX & 0xff);
    bytes[11] = static_cast<char>(hotX >> 8);
    bytes[12] = static_cast<char>(hotY & 0xff);
    bytes[13] = static_cast<char>(hotY >> 8);
    return bytes;
}

TEST(CursorHotspot, ReadsTheFirstEntryOfACursorFile) {
    const auto spot = CursorHotspot(CursorHeader(2, 1, 9, 6));
    ASSERT_TRUE(spot.has_value());
    EXPECT_EQ(spot->x, 9);
    EXPECT_EQ(spot->y, 6);
    const auto wide = CursorHotspot(CursorHeader(2, 1, 300, 258));
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(wide->x, 300);
    EXPECT_EQ(wide->y, 258);
}

TEST(CursorHotspot, IconsShortFilesAndOtherDataHaveNone) {
    EXPECT_FALSE(CursorHotspot(CursorHeader(1, 1, 9, 6)).has_value());  // an icon
    EXPECT_FALSE(CursorHotspot(CursorHeader(2, 0, 9, 6)).has_value());  // no image
    EXPECT_FALSE(CursorHotspot(CursorHeader(2, 1, 9, 6).substr(0, 21)).has_value());
    EXPECT_FALSE(CursorHotspot("").has_value());
    EXPECT_FALSE(CursorHotspot("\x89PNG\r\n\x1a\n0123456789abcdef").has_value());
}

TEST(Twips, FifteenTwipsMakeOnePixelRoundedToTheNearest) {
    EXPECT_EQ(Twips(0), 0);
    EXPECT_EQ(Twips(15), 1);
    EXPECT_EQ(Twips(7000), 467);
    EXPECT_EQ(Twips(3700), 247);
    EXPECT_EQ(Twips(2750), 183);
    EXPECT_EQ(Twips(8040), 536);
}

}  // namespace
}  // namespace quillane
