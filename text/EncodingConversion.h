#pragma once
// Conversion from legacy encodings to UTF-8 through iconv. The converter is always flushed at
// the end: the Windows-1255 and Windows-1258 converters hold a letter back until they know
// whether a combining mark follows, and would otherwise lose a text's last letter.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace text {

struct Conversion {
    std::string utf8;
    // Bytes that were not text in the encoding; each was read as Windows-1252 instead, so
    // the characters around them are all kept.
    std::size_t invalidBytes = 0;
};

// `bytes` in `encoding` (an iconv name) as UTF-8; nullopt when iconv does not know the
// encoding. With `sample`, the bytes were cut from a longer text, and a character cut in half
// at the end is dropped rather than counted as invalid.
std::optional<Conversion> ConvertToUtf8(std::string_view bytes, const std::string& encoding,
                                        bool sample = false);

// Decodes one character at a time in a fixed encoding (the \'hh escapes of RTF), keeping the
// converter open between calls.
class CharacterConverter {
  public:
    static constexpr char32_t kIncomplete = 0xFFFFFFFE;  // the bytes begin a longer character
    static constexpr char32_t kInvalid = 0xFFFFFFFF;     // the bytes are not a character

    // An unknown encoding leaves the converter closed: Valid() is false.
    explicit CharacterConverter(const std::string& encoding);
    ~CharacterConverter();
    CharacterConverter(const CharacterConverter&) = delete;
    CharacterConverter& operator=(const CharacterConverter&) = delete;

    bool Valid() const;
    // The character of `count` (1 to 4) bytes.
    char32_t Convert(const std::uint8_t* bytes, int count);

  private:
    void* converter_;
};

}  // namespace text
