#pragma once
// Decodes the 8-bit characters of RTF text (\'hh escapes and raw bytes) in a Windows code
// page. Each code page is opened through iconv once per document and decodes through a
// 256-entry table filled as bytes are first met; the two-byte characters of the East Asian
// pages are cached the same way, so decoding never calls iconv twice for the same character
// and plain 7-bit text never calls it at all.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Tessaly::Docs::Rtf {

// The code page of a font's \fcharsetN; 0 when the charset means the document's own code page.
int CharsetCodePage(int charset);

class CodePageDecoder {
  public:
    // What DecodeByte returns for a byte that starts a multi-byte character, and for a byte
    // the code page does not define.
    static constexpr char32_t kLeadByte = 0xFFFFFFFE;
    static constexpr char32_t kInvalid = 0xFFFFFFFF;

    CodePageDecoder();
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    char32_t DecodeByte(int codePage, std::uint8_t byte);
    // Bytes needed for the character that `lead` starts (2, or up to 4 in UTF-8).
    int SequenceLength(int codePage, std::uint8_t lead);
    // Decodes a complete multi-byte character; kInvalid when the code page rejects it.
    char32_t DecodeSequence(int codePage, const std::uint8_t* bytes, int count);

  private:
    struct Page;
    Page& Find(int codePage);

    std::vector<std::unique_ptr<Page>> pages_;
    Page* last_ = nullptr;
};

}  // namespace Tessaly::Docs::Rtf
