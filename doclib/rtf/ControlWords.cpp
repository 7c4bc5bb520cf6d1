#include "doclib/rtf/ControlWords.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace Tessaly::Docs::Rtf {

namespace {

using Entry = std::pair<std::string_view, Word>;

// Kept in byte order of the names, so a duplicate or a missing word is easy to see.
constexpr std::array kWords = {
    Entry{"aftncn", Word::kDropped},
    Entry{"aftnsep", Word::kDropped},
    Entry{"aftnsepc", Word::kDropped},
    Entry{"annotation", Word::kDropped},
    Entry{"ansi", Word::kAnsi},
    Entry{"ansicpg", Word::kAnsiCodePage},
    Entry{"atnauthor", Word::kDropped},
    Entry{"atnid", Word::kDropped},
    Entry{"author", Word::kAuthor},
    Entry{"b", Word::kBold},
    Entry{"bin", Word::kBinary},
    Entry{"bkmkend", Word::kDropped},
    Entry{"bkmkstart", Word::kDropped},
    Entry{"bullet", Word::kBullet},
    Entry{"cell", Word::kCell},
    Entry{"colortbl", Word::kDropped},
    Entry{"cpg", Word::kCodePage},
    Entry{"cs", Word::kCharStyle},
    Entry{"deff", Word::kDefaultFont},
    Entry{"deflang", Word::kDefaultLanguage},
    Entry{"dn", Word::kUnknown},
    Entry{"do", Word::kDropped},
    Entry{"doccomm", Word::kComment},
    Entry{"ds", Word::kCharStyle},
    Entry{"emdash", Word::kEmDash},
    Entry{"emspace", Word::kEmSpace},
    Entry{"endash", Word::kEnDash},
    Entry{"enspace", Word::kEnSpace},
    Entry{"f", Word::kFont},
    Entry{"fcharset", Word::kCharset},
    Entry{"fi", Word::kFirstIndent},
    Entry{"field", Word::kField},
    Entry{"filetbl", Word::kDropped},
    Entry{"fldinst", Word::kFieldInstruction},
    Entry{"fldrslt", Word::kFieldResult},
    Entry{"fonttbl", Word::kFontTable},
    Entry{"footer", Word::kDropped},
    Entry{"footerf", Word::kDropped},
    Entry{"footerl", Word::kDropped},
    Entry{"footerr", Word::kDropped},
    Entry{"footnote", Word::kFootnote},
    Entry{"ftncn", Word::kDropped},
    Entry{"ftnsep", Word::kDropped},
    Entry{"ftnsepc", Word::kDropped},
    Entry{"generator", Word::kDropped},
    Entry{"header", Word::kDropped},
    Entry{"headerf", Word::kDropped},
    Entry{"headerl", Word::kDropped},
    Entry{"headerr", Word::kDropped},
    Entry{"i", Word::kItalic},
    Entry{"info", Word::kInfo},
    Entry{"intbl", Word::kInTable},
    Entry{"itap", Word::kTableLevel},
    Entry{"keywords", Word::kDropped},
    Entry{"lang", Word::kLanguage},
    Entry{"ldblquote", Word::kLeftDoubleQuote},
    Entry{"li", Word::kLeftIndent},
    Entry{"lin", Word::kLeftIndent},
    Entry{"line", Word::kLine},
    Entry{"listoverridetable", Word::kDropped},
    Entry{"listtable", Word::kDropped},
    Entry{"listtext", Word::kListNumber},
    Entry{"lquote", Word::kLeftQuote},
    Entry{"ltrmark", Word::kLeftToRightMark},
    Entry{"mac", Word::kMac},
    Entry{"nestcell", Word::kNestedCell},
    Entry{"nestrow", Word::kNestedRow},
    Entry{"nonshppict", Word::kDropped},
    Entry{"nosupersub", Word::kNoSuperSub},
    Entry{"object", Word::kObject},
    Entry{"operator", Word::kDropped},
    Entry{"outlinelevel", Word::kOutlineLevel},
    Entry{"page", Word::kPage},
    Entry{"pagebb", Word::kPageBreakBefore},
    Entry{"par", Word::kParagraph},
    Entry{"pard", Word::kParagraphDefault},
    Entry{"pc", Word::kPc},
    Entry{"pca", Word::kPca},
    Entry{"pict", Word::kDropped},
    Entry{"plain", Word::kPlain},
    Entry{"pn", Word::kDropped},
    Entry{"pnseclvl", Word::kDropped},
    Entry{"pntext", Word::kListNumber},
    Entry{"pntxta", Word::kDropped},
    Entry{"pntxtb", Word::kDropped},
    Entry{"qc", Word::kAlignCenter},
    Entry{"qd", Word::kAlignJustify},
    Entry{"qj", Word::kAlignJustify},
    Entry{"ql", Word::kAlignLeft},
    Entry{"qmspace", Word::kQuarterEmSpace},
    Entry{"qr", Word::kAlignRight},
    Entry{"rdblquote", Word::kRightDoubleQuote},
    Entry{"result", Word::kObjectResult},
    Entry{"revtbl", Word::kDropped},
    Entry{"ri", Word::kRightIndent},
    Entry{"rin", Word::kRightIndent},
    Entry{"row", Word::kRow},
    Entry{"rquote", Word::kRightQuote},
    Entry{"rsidtbl", Word::kDropped},
    Entry{"rtf", Word::kRtf},
    Entry{"rtlmark", Word::kRightToLeftMark},
    Entry{"s", Word::kStyle},
    Entry{"sa", Word::kSpaceAfter},
    Entry{"sb", Word::kSpaceBefore},
    Entry{"sect", Word::kSection},
    Entry{"shp", Word::kDropped},
    Entry{"shprslt", Word::kDropped},
    Entry{"strike", Word::kStrike},
    Entry{"striked", Word::kStrike},
    Entry{"stylesheet", Word::kStyleSheet},
    Entry{"sub", Word::kSubscript},
    Entry{"subject", Word::kSubject},
    Entry{"super", Word::kSuperscript},
    Entry{"tab", Word::kTab},
    Entry{"tc", Word::kDropped},
    Entry{"template", Word::kDropped},
    Entry{"title", Word::kTitle},
    Entry{"ts", Word::kCharStyle},
    Entry{"txe", Word::kDropped},
    Entry{"u", Word::kUnicode},
    Entry{"uc", Word::kUnicodeSkip},
    Entry{"ud", Word::kUnicodeTwin},
    Entry{"ul", Word::kUnderline},
    Entry{"uld", Word::kUnderline},
    Entry{"uldash", Word::kUnderline},
    Entry{"uldashd", Word::kUnderline},
    Entry{"uldashdd", Word::kUnderline},
    Entry{"uldb", Word::kUnderline},
    Entry{"ulhwave", Word::kUnderline},
    Entry{"ulldash", Word::kUnderline},
    Entry{"ulnone", Word::kUnderlineNone},
    Entry{"ulth", Word::kUnderline},
    Entry{"ulthd", Word::kUnderline},
    Entry{"ulthdash", Word::kUnderline},
    Entry{"ulthdashd", Word::kUnderline},
    Entry{"ulthdashdd", Word::kUnderline},
    Entry{"ulthldash", Word::kUnderline},
    Entry{"ululdbwave", Word::kUnderline},
    Entry{"ulw", Word::kUnderline},
    Entry{"ulwave", Word::kUnderline},
    Entry{"upr", Word::kUnicodePair},
    Entry{"v", Word::kHidden},
    Entry{"xe", Word::kDropped},
    Entry{"zwbo", Word::kZeroWidthBreak},
    Entry{"zwj", Word::kZeroWidthJoiner},
    Entry{"zwnj", Word::kZeroWidthNonJoiner},
};

static_assert(std::is_sorted(kWords.begin(), kWords.end(),
                             [](const Entry& a, const Entry& b) { return a.first < b.first; }),
              "control words must stay sorted");

// Words are looked up for every control word of the document, so through an open-addressing
// hash table built at compile time rather than a search.
constexpr std::uint32_t Hash(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

constexpr std::size_t kSlots = 512;
static_assert(kWords.size() * 2 < kSlots, "the table must stay sparse");

constexpr std::array<std::int16_t, kSlots> MakeSlots() {
    std::array<std::int16_t, kSlots> slots{};
    slots.fill(-1);
    for (std::size_t i = 0; i < kWords.size(); ++i) {
        std::size_t at = Hash(kWords[i].first) & (kSlots - 1);
        while (slots[at] >= 0) {
            at = (at + 1) & (kSlots - 1);
        }
        slots[at] = static_cast<std::int16_t>(i);
    }
    return slots;
}

constexpr std::array<std::int16_t, kSlots> kSlotTable = MakeSlots();

}  // namespace

Word LookupWord(std::string_view name) {
    if (name.size() > 32) {
        return Word::kUnknown;  // longer than RTF allows: never a known word
    }
    for (std::size_t at = Hash(name) & (kSlots - 1); kSlotTable[at] >= 0;
         at = (at + 1) & (kSlots - 1)) {
        const Entry& entry = kWords[static_cast<std::size_t>(kSlotTable[at])];
        if (entry.first == name) {
            return entry.second;
        }
    }
    return Word::kUnknown;
}

char32_t WordCharacter(Word word) {
    switch (word) {
        case Word::kEmDash:
            return 0x2014;
        case Word::kEnDash:
            return 0x2013;
        case Word::kEmSpace:
            return 0x2003;
        case Word::kEnSpace:
            return 0x2002;
        case Word::kQuarterEmSpace:
            return 0x2005;
        case Word::kBullet:
            return 0x2022;
        case Word::kLeftQuote:
            return 0x2018;
        case Word::kRightQuote:
            return 0x2019;
        case Word::kLeftDoubleQuote:
            return 0x201C;
        case Word::kRightDoubleQuote:
            return 0x201D;
        case Word::kZeroWidthJoiner:
            return 0x200D;
        case Word::kZeroWidthNonJoiner:
            return 0x200C;
        case Word::kZeroWidthBreak:
            return 0x200B;
        case Word::kLeftToRightMark:
            return 0x200E;
        case Word::kRightToLeftMark:
            return 0x200F;
        default:
            return 0;
    }
}

}  // namespace Tessaly::Docs::Rtf
