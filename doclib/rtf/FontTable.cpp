#include "doclib/rtf/FontTable.h"

#include "doclib/rtf/CodePages.h"

namespace Tessaly::Docs::Rtf {

namespace {

// Longer font names are not names anyone compares with.
constexpr std::size_t kFontNameLimit = 128;

}  // namespace

void FontTable::SetDefaultCodePage(int codePage) {
    defaultCodePage_ = codePage;
    resolved_ = false;
}

void FontTable::BeginEntry(std::int32_t font) {
    entry_ = font;
    entries_[font];
    resolved_ = false;
}

void FontTable::SetEntryCharset(std::int32_t charset) {
    if (entry_ >= 0) {
        entries_[entry_].charset = charset;
        resolved_ = false;
    }
}

void FontTable::SetEntryCodePage(std::int32_t codePage) {
    if (entry_ >= 0) {
        entries_[entry_].codePage = codePage;
        resolved_ = false;
    }
}

void FontTable::AppendEntryName(std::string_view text) {
    if (entry_ < 0) {
        return;
    }
    Entry& font = entries_[entry_];
    if (font.nameComplete) {
        return;
    }
    const auto end = text.find(';');
    font.nameComplete = end != std::string_view::npos;
    text = text.substr(0, end);
    if (font.name.size() < kFontNameLimit) {
        font.name.append(text.substr(0, kFontNameLimit - font.name.size()));
    }
    resolved_ = false;
}

int FontTable::CodePageOf(std::int32_t font) {
    Resolve(font);
    return codePage_;
}

SymbolFont FontTable::SymbolFontFor(std::int32_t font) {
    Resolve(font);
    return symbolFont_;
}

void FontTable::Resolve(std::int32_t font) {
    if (resolved_ && resolvedFont_ == font) {
        return;
    }
    codePage_ = defaultCodePage_;
    symbolFont_ = SymbolFont::kNone;
    if (const auto it = entries_.find(font); it != entries_.end()) {
        if (it->second.codePage > 0) {
            codePage_ = it->second.codePage;
        } else if (const int fromCharset = CharsetCodePage(it->second.charset); fromCharset > 0) {
            codePage_ = fromCharset;
        }
        symbolFont_ = SymbolFontOf(it->second.name, it->second.charset);
    }
    resolvedFont_ = font;
    resolved_ = true;
}

}  // namespace Tessaly::Docs::Rtf
