#pragma once
// UTF-8 encoding of single code points, for the reader's decoded characters.

#include <cstddef>
#include <string_view>

namespace Tessaly::Docs::Rtf {

// A code point the book may carry: not a surrogate, not a noncharacter U+FFFE/U+FFFF, within
// Unicode, and no C0 control (those have RTF control words of their own).
constexpr bool IsTextCodePoint(char32_t c) {
    return c >= 0x20 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF) && c != 0xFFFE &&
           c != 0xFFFF && c != 0x7F;
}

// A code point encoded as UTF-8 in a small fixed buffer (no heap).
class Utf8Char {
  public:
    explicit constexpr Utf8Char(char32_t c) {
        if (c < 0x80) {
            bytes_[0] = static_cast<char>(c);
            size_ = 1;
        } else if (c < 0x800) {
            bytes_[0] = static_cast<char>(0xC0 | (c >> 6));
            bytes_[1] = static_cast<char>(0x80 | (c & 0x3F));
            size_ = 2;
        } else if (c < 0x10000) {
            bytes_[0] = static_cast<char>(0xE0 | (c >> 12));
            bytes_[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes_[2] = static_cast<char>(0x80 | (c & 0x3F));
            size_ = 3;
        } else {
            bytes_[0] = static_cast<char>(0xF0 | (c >> 18));
            bytes_[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            bytes_[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes_[3] = static_cast<char>(0x80 | (c & 0x3F));
            size_ = 4;
        }
    }
    std::string_view view() const { return std::string_view(bytes_, size_); }

  private:
    char bytes_[4] = {};
    std::size_t size_ = 0;
};

}  // namespace Tessaly::Docs::Rtf
