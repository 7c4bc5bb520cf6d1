#pragma once
// The RTF control words the reader acts on. Every other word is ignored, as RTF 1.9.1 asks of
// a reader that does not know it.

#include <cstdint>
#include <string_view>

namespace Tessaly::Docs::Rtf {

enum class Word : std::uint8_t {
    kUnknown,
    kRtf,
    kUnicodeTwin,
    // Character sets and code pages: the document's, a font's, and characters given by number.
    kAnsi,
    kMac,
    kPc,
    kPca,
    kAnsiCodePage,
    kDefaultFont,
    kFont,
    kCharset,
    kCodePage,
    kUnicodeSkip,
    kUnicode,
    kBinary,
    // Destinations read.
    kFontTable,
    kStyleSheet,
    kInfo,
    kTitle,
    kAuthor,
    kSubject,
    kComment,
    kField,
    kFieldInstruction,
    kFieldResult,
    kFootnote,
    kUnicodePair,
    kListNumber,  // \listtext, \pntext: the number or bullet a list item shows
    kObject,
    kObjectResult,
    // Destinations dropped whole (pictures, tables of colours, headers, list definitions, ...).
    kDropped,
    // Character formatting.
    kPlain,
    kBold,
    kItalic,
    kUnderline,
    kUnderlineNone,
    kStrike,
    kSuperscript,
    kSubscript,
    kNoSuperSub,
    kHidden,
    kLanguage,
    kDefaultLanguage,
    kCharStyle,
    // Paragraph formatting and styles.
    kParagraphDefault,
    kStyle,
    kOutlineLevel,
    kAlignLeft,
    kAlignCenter,
    kAlignRight,
    kAlignJustify,
    kLeftIndent,
    kFirstIndent,
    kRightIndent,
    kSpaceBefore,
    kSpaceAfter,
    kInTable,
    kTableLevel,
    kPageBreakBefore,
    // Breaks and structure.
    kParagraph,
    kLine,
    kTab,
    kPage,
    kSection,
    kCell,
    kRow,
    kNestedCell,
    kNestedRow,
    // Characters with words of their own.
    kEmDash,
    kEnDash,
    kEmSpace,
    kEnSpace,
    kQuarterEmSpace,
    kBullet,
    kLeftQuote,
    kRightQuote,
    kLeftDoubleQuote,
    kRightDoubleQuote,
    kZeroWidthJoiner,
    kZeroWidthNonJoiner,
    kZeroWidthBreak,
    kLeftToRightMark,
    kRightToLeftMark,
};

// What a word is about; the reader hands each kind to its own part.
enum class WordKind : std::uint8_t {
    kIgnored,
    kCodePage,
    kDestination,
    kCharacterFormat,
    kParagraph,
    kCharacter,
};

constexpr WordKind KindOf(Word word) {
    if (word >= Word::kEmDash) {
        return WordKind::kCharacter;
    }
    if (word >= Word::kParagraphDefault) {
        return WordKind::kParagraph;
    }
    if (word >= Word::kPlain) {
        return WordKind::kCharacterFormat;
    }
    if (word >= Word::kFontTable) {
        return WordKind::kDestination;
    }
    if (word >= Word::kAnsi) {
        return WordKind::kCodePage;
    }
    return WordKind::kIgnored;
}

Word LookupWord(std::string_view name);

// The character a word of kind kCharacter stands for.
char32_t WordCharacter(Word word);

}  // namespace Tessaly::Docs::Rtf
