#pragma once
// The readers' decoded characters: which code points a book may carry, and their UTF-8 form
// (text/Utf8.h).

#include "text/Utf8.h"

namespace Tessaly::Docs {

// A code point the book may carry: not a surrogate, not a noncharacter U+FFFE/U+FFFF, within
// Unicode, and no C0 control (a reader turns the ones that carry layout into breaks and tabs
// of its own).
constexpr bool IsTextCodePoint(char32_t c) {
    return c >= 0x20 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF) && c != 0xFFFE &&
           c != 0xFFFF && c != 0x7F;
}

using Utf8Char = ::text::utf8::Utf8Char;

}  // namespace Tessaly::Docs
