#pragma once
// Turns the bytes of a plain-text source file into UTF-8: a byte-order mark is honoured and
// dropped, valid UTF-8 stays UTF-8, and anything else is identified by its byte statistics and
// converted, with Windows-1252 as the fallback when the guess is unsure or does not convert.

#include <string>
#include <string_view>

namespace quillane {

struct DecodedText {
    std::string utf8;
    // The encoding the bytes were read in, as iconv names it ("UTF-8", "WINDOWS-1251", ...).
    std::string encoding;
};

// Takes the bytes by value: valid UTF-8, the common case, is passed through without a copy.
DecodedText DecodeText(std::string bytes);

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined keep their C1 code
// points, so no byte is ever lost.
std::string FromWindows1252(std::string_view bytes);

}  // namespace quillane
