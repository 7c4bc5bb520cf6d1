#pragma once
// The fonts a document declares and the code page each one's bytes are written in: the
// character set of the header (\ansi, \ansicpgN), the default font (\deffN) and the entries of
// the font table (\fN with \fcharsetN, \cpgN and a name). Text in a font is decoded in that
// font's code page, or shown as the signs of a symbol font.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "doclib/rtf/SymbolFonts.h"

namespace Tessaly::Docs::Rtf {

class FontTable {
  public:
    // The code page of text in a font without one of its own.
    void SetDefaultCodePage(int codePage);
    void SetDefaultFont(std::int32_t font) { defaultFont_ = font; }
    std::int32_t defaultFont() const { return defaultFont_; }

    // The table's own group begins: no entry is open yet.
    void BeginTable() { entry_ = -1; }
    // \fN inside the table opens entry N.
    void BeginEntry(std::int32_t font);
    // The open entry's \fcharsetN, \cpgN and name text; nothing while no entry is open.
    void SetEntryCharset(std::int32_t charset);
    void SetEntryCodePage(std::int32_t codePage);
    void AppendEntryName(std::string_view text);

    // The code page text in `font` is decoded in.
    int CodePageOf(std::int32_t font);
    // Whether `font` shows signs rather than letters.
    SymbolFont SymbolFontFor(std::int32_t font);

  private:
    struct Entry {
        std::int32_t charset = 0;
        std::int32_t codePage = 0;
        std::string name;           // as far as the font table gives it
        bool nameComplete = false;  // the ';' after the name was read
    };

    // Looks up `font` once, until the font or the table changes: text runs are many and short.
    void Resolve(std::int32_t font);

    int defaultCodePage_ = 1252;
    std::int32_t defaultFont_ = 0;
    std::unordered_map<std::int32_t, Entry> entries_;
    std::int32_t entry_ = -1;
    // What Resolve found for `resolvedFont_`, while `resolved_` holds.
    bool resolved_ = false;
    std::int32_t resolvedFont_ = 0;
    int codePage_ = 1252;
    SymbolFont symbolFont_ = SymbolFont::kNone;
};

}  // namespace Tessaly::Docs::Rtf
