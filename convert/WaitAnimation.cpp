#include "convert/WaitAnimation.h"

#include <algorithm>
#include <cmath>

namespace quillane {

int RoundHalfEven(double x) {
    return static_cast<int>(std::nearbyint(x));
}

WaitAnimation::WaitAnimation(std::string savedText, int startValue, int count)
    : savedText_(std::move(savedText)), startValue_(startValue) {
    const double share = 100.0 / std::max(count, 1);
    step_ = RoundHalfEven(share / 10.0);
    limit_ = RoundHalfEven(share + startValue_ - step_);
}

WaitAnimation::Frame WaitAnimation::AtTick(int tick) const {
    Frame frame;
    if (tick < 50) {
        return frame;
    }
    const int counted = tick - 50;
    frame.text =
        savedText_ + (savedText_.empty() ? "" : ", ") + "Please wait.. " + std::to_string(counted);
    if (counted % 150 == 0) {
        const double v = static_cast<double>(counted) / 150.0 * step_ + startValue_;
        frame.value = v >= limit_ ? static_cast<double>(limit_) : v;
    }
    return frame;
}

std::string WaitAnimation::FinalText() const {
    return savedText_.empty() ? std::string("Progress Bar") : savedText_;
}

int EffectiveWindowStyle(std::optional<int> style) {
    if (!style || *style < 0 || *style > 6) {
        return 6;
    }
    return *style;
}

}  // namespace quillane
