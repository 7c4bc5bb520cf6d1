#pragma once
// Fonts whose bytes are pictures, not letters of a code page. Word processors write Greek and
// mathematical signs in the Symbol font ("a" shows as α) and list bullets in Symbol or
// Wingdings; read through a code page, the book would show the plain Latin letters instead.

#include <cstdint>
#include <string_view>

namespace Tessaly::Docs::Rtf {

enum class SymbolFont : std::uint8_t {
    kNone,       // an ordinary font: its bytes go through a code page
    kSymbol,     // the Symbol font, or a symbol-charset font we know nothing more of
    kWingdings,  // a dingbat font; only its list bullets have a Unicode meaning we keep
};

// From a font table entry: its name (without the closing ';') and its \fcharsetN.
SymbolFont SymbolFontOf(std::string_view name, std::int32_t charset);

// The Unicode character byte `byte` shows in `font`; 0 when the font has no defined character
// there (the byte is then read as in an ordinary font).
char32_t SymbolFontCharacter(SymbolFont font, std::uint8_t byte);

// Word writes symbol-font characters as \uN in the private-use block U+F020..U+F0FF, the
// font's byte plus 0xF000; such a character is the font's byte.
constexpr bool IsSymbolPrivateUse(char32_t c) {
    return c >= 0xF020 && c <= 0xF0FF;
}

}  // namespace Tessaly::Docs::Rtf
