#pragma once
// Windows-1252, the code page of last resort: both directions from one table.

#include <cstdint>
#include <string>
#include <string_view>

namespace text {

// The character of one byte; the five bytes the code page leaves undefined keep their C1
// code points, so no byte is ever lost.
char32_t Windows1252Char(std::uint8_t byte);

// The byte of a code point at or above U+0080, or 0 when the code page lacks it (the five
// undefined bytes are not given out: a reader could not tell them from a gap).
std::uint8_t Windows1252Byte(char32_t c);

// Windows-1252 bytes to UTF-8.
std::string FromWindows1252(std::string_view bytes);

}  // namespace text
