#include "app/HomePageVisit.h"

#include <chrono>
#include <cmath>
#include <random>

namespace quillane {

int DrawOneToHundred(double fraction) {
    if (!(fraction >= 0.0)) {  // also NaN
        return 1;
    }
    const int draw = static_cast<int>(std::floor(fraction * 100.0)) + 1;
    return draw > 100 ? 100 : draw;
}

double TimeSeededFraction() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::mt19937_64 generator(static_cast<std::uint64_t>(now.count()));
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

}  // namespace quillane
