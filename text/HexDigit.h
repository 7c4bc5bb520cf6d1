#pragma once
// The value of a hexadecimal digit, wherever text carries numbers in hex (RTF's \'hh,
// percent-escapes in a path, character references).

namespace text {

// 0..15, or -1 when `c` is no hexadecimal digit.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace text
