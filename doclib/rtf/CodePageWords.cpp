// Code pages and fonts: the document's character set, the font table, and the characters that
// arrive as bytes (\'hh or raw 8-bit text) or as numbers (\uN), decoded in the code page of
// the font they are written in.

#include <algorithm>

#include "doclib/rtf/RtfParser.h"
#include "doclib/rtf/Utf8.h"

namespace Tessaly::Docs::Rtf {

namespace {

// Longer font names are not names anyone compares with.
constexpr std::size_t kFontNameLimit = 128;

}  // namespace

void RtfParser::OnCodePageWord(Word word, bool hasParam, std::int32_t param) {
    switch (word) {
        case Word::kAnsi:
            defaultCodePage_ = 1252;
            break;
        case Word::kMac:
            defaultCodePage_ = 10000;
            break;
        case Word::kPc:
            defaultCodePage_ = 437;
            break;
        case Word::kPca:
            defaultCodePage_ = 850;
            break;
        case Word::kAnsiCodePage:
            if (hasParam && param > 0) {
                defaultCodePage_ = param;
            }
            break;
        case Word::kDefaultFont:
            defaultFont_ = param;
            state_.character.font = param;
            break;
        case Word::kFont:
            if (state_.destination == Destination::kFontTable) {
                fontEntry_ = param;
                fonts_[param];
            } else {
                state_.character.font = param;
            }
            break;
        case Word::kCharset:
            if (state_.destination == Destination::kFontTable && fontEntry_ >= 0) {
                fonts_[fontEntry_].charset = param;
            }
            break;
        case Word::kCodePage:
            if (state_.destination == Destination::kFontTable && fontEntry_ >= 0) {
                fonts_[fontEntry_].codePage = param;
            }
            break;
        case Word::kUnicodeSkip:
            state_.unicodeSkip = static_cast<std::uint8_t>(std::clamp<std::int32_t>(param, 0, 255));
            return;
        case Word::kUnicode:
            if (hasParam) {
                OnUnicode(param);
            }
            return;
        case Word::kBinary:
            // Binary data is never text, in whatever destination it stands.
            if (hasParam) {
                tokens_.SkipBytes(param);
            }
            return;
        default:
            return;
    }
    codePageKnown_ = false;
}

void RtfParser::OnText(std::string_view text) {
    if (state_.destination == Destination::kFontTable) {
        OnFontTableText(text);
        return;
    }
    const SymbolFont font = CurrentSymbolFont();
    if (font == SymbolFont::kNone) {
        Emit(text);
        return;
    }
    // 7-bit text in a symbol font shows the font's signs: "a" is α in Symbol.
    std::string mapped;
    mapped.reserve(text.size() * 2);
    for (const char c : text) {
        const char32_t symbol = SymbolFontCharacter(font, static_cast<std::uint8_t>(c));
        if (symbol == 0 || symbol == static_cast<unsigned char>(c)) {
            mapped.push_back(c);
        } else {
            mapped.append(Utf8Char(symbol).view());
        }
    }
    Emit(mapped);
}

void RtfParser::OnFontTableText(std::string_view text) {
    if (fontEntry_ < 0) {
        return;
    }
    FontEntry& font = fonts_[fontEntry_];
    if (font.nameComplete) {
        return;
    }
    const auto end = text.find(';');
    font.nameComplete = end != std::string_view::npos;
    text = text.substr(0, end);
    if (font.name.size() < kFontNameLimit) {
        font.name.append(text.substr(0, kFontNameLimit - font.name.size()));
    }
    codePageKnown_ = false;
}

void RtfParser::OnByte(std::uint8_t byte) {
    if (pendingCount_ > 0) {
        pending_[pendingCount_++] = byte;
        if (pendingCount_ == pendingNeed_) {
            const char32_t c = decoder_.DecodeSequence(pendingCodePage_, pending_, pendingCount_);
            pendingCount_ = 0;
            if (c != CodePageDecoder::kInvalid) {
                EmitCodePoint(c);
            }
        }
        return;
    }
    if (state_.destination != Destination::kFontTable) {
        if (const char32_t symbol = SymbolFontCharacter(CurrentSymbolFont(), byte); symbol != 0) {
            EmitCodePoint(symbol);
            return;
        }
    }
    const int codePage = CodePage();
    const char32_t c = decoder_.DecodeByte(codePage, byte);
    if (c == CodePageDecoder::kLeadByte) {
        pending_[0] = byte;
        pendingCount_ = 1;
        pendingNeed_ = decoder_.SequenceLength(codePage, byte);
        pendingCodePage_ = codePage;
        std::uint8_t trail = 0;
        if (codePage != kUtf8CodePage && tokens_.TakeTrailByte(trail)) {
            OnByte(trail);
        }
        return;
    }
    if (c != CodePageDecoder::kInvalid) {
        EmitCodePoint(c);
    }
}

void RtfParser::OnUnicode(std::int32_t value) {
    unicodeFallback_ = state_.unicodeSkip;
    if (value < 0) {
        value += 65536;  // RTF writes code units above 32767 as negative numbers
    }
    if (value < 0) {
        highSurrogate_ = 0;
        return;
    }
    const auto unit = static_cast<char32_t>(value);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        highSurrogate_ = unit;
        return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (highSurrogate_ != 0) {
            EmitCodePoint(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
        }
        highSurrogate_ = 0;
        return;
    }
    highSurrogate_ = 0;
    if (IsSymbolPrivateUse(unit)) {
        const auto byte = static_cast<std::uint8_t>(unit - 0xF000);
        if (const char32_t symbol = SymbolFontCharacter(CurrentSymbolFont(), byte); symbol != 0) {
            EmitCodePoint(symbol);
            return;
        }
    }
    EmitCodePoint(unit);
}

int RtfParser::CodePage() {
    if (codePageKnown_ && codePageFont_ == state_.character.font) {
        return codePage_;
    }
    codePage_ = defaultCodePage_;
    symbolFont_ = SymbolFont::kNone;
    if (const auto it = fonts_.find(state_.character.font); it != fonts_.end()) {
        if (it->second.codePage > 0) {
            codePage_ = it->second.codePage;
        } else if (const int fromCharset = CharsetCodePage(it->second.charset); fromCharset > 0) {
            codePage_ = fromCharset;
        }
        symbolFont_ = SymbolFontOf(it->second.name, it->second.charset);
    }
    codePageFont_ = state_.character.font;
    codePageKnown_ = true;
    return codePage_;
}

SymbolFont RtfParser::CurrentSymbolFont() {
    CodePage();
    return symbolFont_;
}

}  // namespace Tessaly::Docs::Rtf
