#pragma once
// Turns the bytes of a plain-text file into UTF-8: a byte-order mark is honoured and dropped,
// valid UTF-8 stays UTF-8, UTF-16 without a mark is recognised by its zero bytes, and anything
// else is decoded in the legacy encoding a reader would agree with (text/EncodingChoice.h).

#include <string>
#include <string_view>

namespace text {

struct DecodedText {
    std::string utf8;
    // The encoding the bytes were read in, as iconv names it ("UTF-8", "WINDOWS-1251", ...).
    std::string encoding;
};

// Takes the bytes by value: valid UTF-8, the common case, is passed through without a copy.
DecodedText DecodeText(std::string bytes);

// True when `bytes` are not text in any encoding we read: zero bytes or control codes that
// no text holds (an image, an archive, a program). Text in UTF-16 or UTF-32 is text.
bool LooksLikeBinary(std::string_view bytes);

// The words the program and the library use when they refuse such a file.
inline constexpr const char* kNotTextMessage = "not a text file";

}  // namespace text
