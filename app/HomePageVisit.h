#pragma once
// About one start in a hundred opens the maker's home page.

#include <string>

namespace quillane {

inline constexpr const char* kHomePageAddress = "https://www.kelvardy.example/";

// A whole number from 1 to 100 from a fraction in [0, 1): the fraction times 100, cut to its
// whole part, plus 1. Fractions outside [0, 1) are held to the nearest end.
int DrawOneToHundred(double fraction);

// The draw that opens the home page.
inline bool IsHomePageDraw(int draw) {
    return draw == 7;
}

// A fraction in [0, 1) from a generator seeded with the time of day.
double TimeSeededFraction();

}  // namespace quillane
