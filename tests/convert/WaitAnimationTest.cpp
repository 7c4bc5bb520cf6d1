#include "convert/WaitAnimation.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillane {
namespace {

// Drives the animation tick by tick, as the wait does, and records what the bar shows.
struct Bar {
    std::string text;
    double value;
    std::vector<double> values;  // each value set

    void Run(const WaitAnimation& animation, int ticks) {
        for (int t = 1; t <= ticks; ++t) {
            const auto frame = animation.AtTick(t);
            if (frame.text) {
                text = *frame.text;
            }
            if (frame.value) {
                value = *frame.value;
                values.push_back(value);
            }
        }
    }
};

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(33.34), 33);
}

TEST(WaitAnimation, NothingChangesInTheFirstFiveSeconds) {
    const WaitAnimation animation("Processing: a.txt", 100, 1);
    for (int t = 1; t < 50; ++t) {
        const auto frame = animation.AtTick(t);
        EXPECT_FALSE(frame.text.has_value()) << t;
        EXPECT_FALSE(frame.value.has_value()) << t;
    }
    EXPECT_EQ(animation.FinalText(), "Processing: a.txt");
}

TEST(WaitAnimation, CountsOnAfterFiftyTicks) {
    const WaitAnimation animation("Processing: a.txt", 100, 1);
    EXPECT_EQ(*animation.AtTick(50).text, "Processing: a.txt, Please wait.. 0");
    EXPECT_EQ(*animation.AtTick(51).text, "Processing: a.txt, Please wait.. 1");
    EXPECT_EQ(*animation.AtTick(62).text, "Processing: a.txt, Please wait.. 12");
    const WaitAnimation untitled("", 0, 1);
    EXPECT_EQ(*untitled.AtTick(53).text, "Please wait.. 3");
    EXPECT_EQ(untitled.FinalText(), "Progress Bar");
}

TEST(WaitAnimation, OneFileStartingAt100StepsByTenUpTo190) {
    const WaitAnimation animation("x", 100, 1);
    EXPECT_EQ(animation.step(), 10);
    EXPECT_EQ(animation.limit(), 190);
    Bar bar{"x", 100, {}};
    bar.Run(animation, 200);  // 20 seconds
    EXPECT_EQ(bar.values, (std::vector<double>{100, 110}));
    bar.values.clear();
    bar.Run(animation, 100 * 150);  // a very long conversion never passes the limit
    EXPECT_EQ(bar.value, 190);
}

TEST(WaitAnimation, FourFilesStepByTwoAndStopAt48) {
    const WaitAnimation animation("x", 25, 4);
    EXPECT_EQ(animation.step(), 2);  // 2.5 gives 2
    EXPECT_EQ(animation.limit(), 48);
    Bar bar{"x", 25, {}};
    bar.Run(animation, 50 + 150 * 13);
    ASSERT_GE(bar.values.size(), 4u);
    EXPECT_EQ(bar.values[0], 25);
    EXPECT_EQ(bar.values[1], 27);
    EXPECT_EQ(bar.values[2], 29);
    EXPECT_EQ(bar.values.back(), 48);
    for (double v : bar.values) {
        EXPECT_LE(v, 48);
    }
}

TEST(WaitAnimation, ManyFilesHaveNoStep) {
    const WaitAnimation animation("x", 40, 21);
    EXPECT_EQ(animation.step(), 0);  // 100 / 21 / 10 = 0.476
    Bar bar{"x", 40, {}};
    bar.Run(animation, 2000);
    for (double v : bar.values) {
        EXPECT_EQ(v, 40);
    }
    // Three files: 33.3 share, step 3, limit 33 + 33.3 - 3 = 63.
    EXPECT_EQ(WaitAnimation("x", 33, 3).limit(), 63);
    // A zero count is taken as one file rather than dividing by zero.
    EXPECT_EQ(WaitAnimation("x", 0, 0).step(), 10);
}

TEST(EffectiveWindowStyle, OutOfRangeOrMissingMeansSix) {
    EXPECT_EQ(EffectiveWindowStyle(std::nullopt), 6);
    EXPECT_EQ(EffectiveWindowStyle(-1), 6);
    EXPECT_EQ(EffectiveWindowStyle(7), 6);
    EXPECT_EQ(EffectiveWindowStyle(0), 0);
    EXPECT_EQ(EffectiveWindowStyle(5), 5);
    EXPECT_EQ(EffectiveWindowStyle(6), 6);
}

}  // namespace
}  // namespace quillane
