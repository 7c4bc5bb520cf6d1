#pragma once
// Turns the bytes of a plain-text file into UTF-8: a byte-order mark is honoured and dropped,
// UTF-16 without a mark is recognised by its zero bytes, ISO-2022 and HZ by their escapes,
// valid UTF-8 stays UTF-8, and anything else is decoded in the legacy encoding a reader would
// agree with (text/EncodingChoice.h). Zero bytes are dropped; every other character is kept.

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

class FileSignatures;

// True when `bytes` are not text in any encoding we read: a high share of control codes that
// no text holds, or, where zero or control bytes appear, the signature of a picture, an
// archive, a document or a program. A text with a few zero bytes is text, and so is UTF-16.
// The one judgement of the program's staging and the converter's own reading.
bool LooksLikeBinary(std::string_view bytes, FileSignatures& signatures);

// The words the program and the library use when they refuse such a file.
inline constexpr const char* kNotTextMessage = "not a text file";

}  // namespace text
