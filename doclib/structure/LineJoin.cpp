#include "doclib/structure/LineJoin.h"

#include <unicode/uchar.h>

#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

bool IsHangul(int lineBreak) {
    return lineBreak == U_LB_H2 || lineBreak == U_LB_H3 || lineBreak == U_LB_JL ||
           lineBreak == U_LB_JV || lineBreak == U_LB_JT;
}

bool IsWide(char32_t c) {
    const int width = u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_EAST_ASIAN_WIDTH);
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH;
}

// Full-width punctuation ("。", "、", "」", "（") sits against its neighbour in any script.
bool IsWidePunctuation(char32_t c) {
    const int lineBreak = u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_LINE_BREAK);
    switch (lineBreak) {
        case U_LB_CLOSE_PUNCTUATION:
        case U_LB_CLOSE_PARENTHESIS:
        case U_LB_OPEN_PUNCTUATION:
        case U_LB_EXCLAMATION:
        case U_LB_INFIX_NUMERIC:
        case U_LB_NONSTARTER:
        case U_LB_QUOTATION:
            return IsWide(c);
        default:
            return false;
    }
}

// Quotes, ellipses and dashes that Chinese and Japanese share with European type ("“", "”",
// "……", "——") are narrow in Unicode's width tables, yet sit against Han and kana unspaced.
bool IsSharedPunctuation(char32_t c) {
    if (c < 0x80) {
        return false;
    }
    switch (u_charType(static_cast<UChar32>(c))) {
        case U_INITIAL_PUNCTUATION:
        case U_FINAL_PUNCTUATION:
        case U_OTHER_PUNCTUATION:
        case U_DASH_PUNCTUATION:
        case U_START_PUNCTUATION:
        case U_END_PUNCTUATION:
            return true;
        default:
            return false;
    }
}

bool IsUrlByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("-._~:/?#[]@!$&'()*+,;=%").find(c) != std::string_view::npos;
}

std::string_view LastWord(std::string_view text) {
    const std::size_t space = text.find_last_of(" \t");
    return space == std::string_view::npos ? text : text.substr(space + 1);
}

// "https://" or "www.example.org/path/" at the end of `before`, and a piece of address at the
// start of `after`.
bool CutAddress(std::string_view before, std::string_view after) {
    // A cut address ends in one of these, as nearly no line of prose does: look no further.
    constexpr std::string_view kCutEnds = "/-_=&?#~%+";
    if (before.empty() || kCutEnds.find(before.back()) == std::string_view::npos) {
        return false;
    }
    const std::string_view head = LastWord(before);
    const bool address = head.find("://") != std::string_view::npos || head.starts_with("www.");
    if (!address || head.empty() || kCutEnds.find(head.back()) == std::string_view::npos) {
        return false;
    }
    // The address goes on up to the first byte no address holds: a blank, a closing quote,
    // the full stop of a Han sentence ("www.example.org。").
    std::size_t length = 0;
    while (length < after.size() && IsUrlByte(after[length])) {
        ++length;
    }
    const std::string_view tail = after.substr(0, length);
    if (tail.empty()) {
        return false;
    }
    return head.ends_with("://") || tail.find_first_of("./") != std::string_view::npos;
}

}  // namespace

bool IsWideCharacter(char32_t c) {
    return c >= 0x1100 && IsWide(c);
}

bool IsSpacelessScript(char32_t c) {
    const int lineBreak = u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_LINE_BREAK);
    if (IsHangul(lineBreak)) {
        return false;  // Korean parts its words with spaces
    }
    if (lineBreak == U_LB_IDEOGRAPHIC &&
        u_hasBinaryProperty(static_cast<UChar32>(c), UCHAR_EMOJI_PRESENTATION)) {
        return false;  // a pictograph in a sentence of any script
    }
    return lineBreak == U_LB_IDEOGRAPHIC || lineBreak == U_LB_CONDITIONAL_JAPANESE_STARTER ||
           lineBreak == U_LB_COMPLEX_CONTEXT || lineBreak == U_LB_ZWSPACE || IsWide(c);
}

bool SpaceAtJoin(std::string_view before, std::string_view after) {
    if (before.empty() || after.empty()) {
        return false;
    }
    // The common case of Latin text needs no decoding and no property look-up: an ASCII byte is
    // a character of its own.
    if (static_cast<unsigned char>(before.back()) < 0x80 &&
        static_cast<unsigned char>(after.front()) < 0x80) {
        return !CutAddress(before, after);
    }
    const char32_t last = utf8::DecodeBefore(before, before.size()).value;
    const char32_t next = utf8::DecodeAt(after, 0).value;
    if (IsWidePunctuation(last) || IsWidePunctuation(next)) {
        return false;
    }
    if (IsSpacelessScript(last) && IsSpacelessScript(next)) {
        return false;
    }
    if ((IsSpacelessScript(last) && IsSharedPunctuation(next)) ||
        (IsSharedPunctuation(last) && IsSpacelessScript(next))) {
        return false;
    }
    return !CutAddress(before, after);
}

}  // namespace Tessaly::Docs
