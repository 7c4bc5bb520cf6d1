#include "text/Windows1252.h"

#include <array>

#include "text/Utf8.h"

namespace text {

namespace {

// 0x80..0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

char32_t Windows1252Char(std::uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0 && kHigh[byte - 0x80] != 0) {
        return kHigh[byte - 0x80];
    }
    return byte;
}

std::uint8_t Windows1252Byte(char32_t c) {
    if (c >= 0xA0 && c <= 0xFF) {
        return static_cast<std::uint8_t>(c);
    }
    for (std::size_t k = 0; k < kHigh.size(); ++k) {
        if (kHigh[k] != 0 && kHigh[k] == c) {
            return static_cast<std::uint8_t>(0x80 + k);
        }
    }
    return 0;
}

std::string FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    std::size_t i = 0;
    while (i < bytes.size()) {
        // ASCII runs go across in one piece.
        std::size_t run = i;
        while (run < bytes.size() && static_cast<std::uint8_t>(bytes[run]) < 0x80) {
            ++run;
        }
        out.append(bytes.substr(i, run - i));
        if (run == bytes.size()) {
            break;
        }
        out.append(utf8::Utf8Char(Windows1252Char(static_cast<std::uint8_t>(bytes[run]))).view());
        i = run + 1;
    }
    return out;
}

}  // namespace text
