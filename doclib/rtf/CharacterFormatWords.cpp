// Character formatting: bold, italic and the other span formats, hidden text, the language a
// stretch of text is marked with, and character styles in the style sheet.

#include "doclib/rtf/RtfParser.h"

namespace Tessaly::Docs::Rtf {

void RtfParser::OnCharacterFormatWord(Word word, bool hasParam, std::int32_t param) {
    const bool on = !hasParam || param != 0;
    CharacterState& chr = state_.character;
    const auto setFormat = [&chr, on](std::uint8_t bit) {
        chr.format = static_cast<std::uint8_t>(on ? (chr.format | bit) : (chr.format & ~bit));
    };
    const auto clearFormat = [&chr](std::uint8_t bits) {
        chr.format = static_cast<std::uint8_t>(chr.format & ~bits);
    };
    switch (word) {
        case Word::kPlain:
            chr = CharacterState{};
            chr.font = fonts_.defaultFont();
            chr.language = languages_.defaultLanguage();
            return;
        case Word::kBold:
            setFormat(kBold);
            return;
        case Word::kItalic:
            setFormat(kItalic);
            return;
        case Word::kUnderline:
            setFormat(kUnderline);
            return;
        case Word::kUnderlineNone:
            clearFormat(kUnderline);
            return;
        case Word::kStrike:
            setFormat(kStrike);
            return;
        case Word::kSuperscript:
            setFormat(kSuperscript);
            if (on) {
                clearFormat(kSubscript);
            }
            return;
        case Word::kSubscript:
            setFormat(kSubscript);
            if (on) {
                clearFormat(kSuperscript);
            }
            return;
        case Word::kNoSuperSub:
            clearFormat(kSuperscript | kSubscript);
            return;
        case Word::kHidden:
            chr.hidden = on;
            return;
        case Word::kLanguage:
            chr.language = param;
            return;
        case Word::kDefaultLanguage:
            languages_.SetDefaultLanguage(param);
            if (chr.language == 0) {
                chr.language = param;
            }
            return;
        case Word::kCharStyle:
            if (state_.destination == Destination::kStyleEntry) {
                styles_.SetEntryCharacterStyle();
            }
            return;
        default:
            return;
    }
}

}  // namespace Tessaly::Docs::Rtf
