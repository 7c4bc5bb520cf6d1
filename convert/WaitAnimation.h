#pragma once
// What the progress bar shows while the converter works, as a function of the 100 ms ticks
// counted since the wait began. After 50 ticks (about 5 seconds) the text counts on
// ("Processing: a.txt, Please wait.. 12"); every 150 ticks after that (about 15 seconds) the
// value moves one step further into the file's share of the bar, never past its limit.

#include <optional>
#include <string>

namespace quillane {

// The whole number nearest to `x`; halves go to the even neighbour (2.5 gives 2, 3.5 gives 4).
int RoundHalfEven(double x);

class WaitAnimation {
  public:
    // `count` is the number of files of the run (at least 1 is assumed).
    WaitAnimation(std::string savedText, int startValue, int count);

    struct Frame {
        std::optional<std::string> text;
        std::optional<double> value;
    };

    // What to show after tick `tick` (1 for the first tick).
    Frame AtTick(int tick) const;

    // The text the bar returns to when the wait ends.
    std::string FinalText() const;

    int step() const { return step_; }
    int limit() const { return limit_; }

  private:
    std::string savedText_;
    int startValue_;
    int step_;
    int limit_;
};

// Missing, below 0 or above 6: 6 (minimised without focus).
int EffectiveWindowStyle(std::optional<int> style);

}  // namespace quillane
