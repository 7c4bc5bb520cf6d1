#pragma once
// Splits RTF text into groups, control words, control symbols, escaped bytes and text runs,
// as RTF 1.9.1 defines them. It holds only a view of the data and a position, so skipping a
// group or binary data costs no memory.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Tessaly::Docs::Rtf {

struct Token {
    enum Kind : std::uint8_t {
        kEnd,
        kGroupOpen,
        kGroupClose,
        kText,           // a run of 7-bit text, `text`; tabs included, line ends removed
        kByte,           // an 8-bit character: \'hh or a raw byte of 0x80 and above
        kControlWord,    // `text` is the name; `param` valid when hasParam
        kControlSymbol,  // `symbol`
    };
    Kind kind = kEnd;
    bool hasParam = false;
    std::uint8_t byte = 0;
    char symbol = 0;
    std::int32_t param = 0;
    std::string_view text;
};

class RtfTokenizer {
  public:
    // RTF 1.9.1 limits control words to 32 letters; longer ones are read whole but never match.
    static constexpr std::size_t kMaxWordLength = 32;

    explicit RtfTokenizer(std::string_view data) : data_(data) {}

    Token Next();

    // Consumes the rest of the current group, its closing brace included. Nested groups and
    // \binN data inside it are passed over; nothing is allocated.
    void SkipGroup();

    // Passes over `count` bytes of \bin data, at most what is left.
    void SkipBytes(std::int64_t count);

    // True when the next tokens are "\*\ud" (the Unicode twin inside an \upr group).
    bool NextIsUnicodeTwin() const;

    // Takes the next byte as a double-byte trail byte when it is plain 7-bit text.
    bool TakeTrailByte(std::uint8_t& byte);

  private:
    Token ReadControl();

    std::string_view data_;
    std::size_t pos_ = 0;
};

}  // namespace Tessaly::Docs::Rtf
