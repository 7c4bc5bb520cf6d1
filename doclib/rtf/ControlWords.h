#pragma once
// The RTF control words the reader acts on. Every other word is ignored, as RTF 1.9.1 asks of
// a reader that does not know it.

#include <cstdint>
#include <string_view>

namespace Tessaly::Docs::Rtf {

enum class Word : std::uint8_t {
    kUnknown,
    // Document header and character sets.
    kRtf,
    kAnsi,
    kMac,
    kPc,
    kPca,
    kAnsiCodePage,
    kDefaultFont,
    kDefaultLanguage,
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
    kUnicodeTwin,
    // Destinations dropped whole (pictures, tables of colours, headers, list numbers, ...).
    kDropped,
    // Font table entries.
    kFont,
    kCharset,
    kCodePage,
    // Styles.
    kStyle,
    kCharStyle,
    kOutlineLevel,
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
    // Paragraph formatting.
    kParagraphDefault,
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

Word LookupWord(std::string_view name);

}  // namespace Tessaly::Docs::Rtf
