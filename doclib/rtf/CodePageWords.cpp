// Code pages and fonts: the document's character set, the font table, and the characters that
// arrive as bytes (\'hh or raw 8-bit text) or as numbers (\uN), decoded in the code page of
// the font they are written in.

#include <algorithm>

#include "doclib/TextCodePoint.h"
#include "doclib/rtf/RtfParser.h"

namespace Tessaly::Docs::Rtf {

void RtfParser::OnCodePageWord(Word word, bool hasParam, std::int32_t param) {
    switch (word) {
        case Word::kAnsi:
            fonts_.SetDefaultCodePage(1252);
            return;
        case Word::kMac:
            fonts_.SetDefaultCodePage(10000);
            return;
        case Word::kPc:
            fonts_.SetDefaultCodePage(437);
            return;
        case Word::kPca:
            fonts_.SetDefaultCodePage(850);
            return;
        case Word::kAnsiCodePage:
            if (hasParam && param > 0) {
                fonts_.SetDefaultCodePage(param);
            }
            return;
        case Word::kDefaultFont:
            fonts_.SetDefaultFont(param);
            state_.character.font = param;
            return;
        case Word::kFont:
            if (state_.destination == Destination::kFontTable) {
                fonts_.BeginEntry(param);
            } else {
                state_.character.font = param;
            }
            return;
        case Word::kCharset:
            if (state_.destination == Destination::kFontTable) {
                fonts_.SetEntryCharset(param);
            }
            return;
        case Word::kCodePage:
            if (state_.destination == Destination::kFontTable) {
                fonts_.SetEntryCodePage(param);
            }
            return;
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
}

void RtfParser::OnText(std::string_view text) {
    if (state_.destination == Destination::kFontTable) {
        fonts_.AppendEntryName(text);
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

}  // namespace Tessaly::Docs::Rtf
