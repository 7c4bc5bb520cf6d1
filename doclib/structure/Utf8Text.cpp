#include "doclib/structure/Utf8Text.h"

namespace Tessaly::Docs::utf8 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

}  // namespace

CodePoint DecodeAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t value = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else {
        return {kReplacement, 1};
    }
    if (at + length > text.size()) {
        return {kReplacement, 1};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(b)) {
            return {kReplacement, 1};
        }
        value = (value << 6) | (b & 0x3F);
    }
    return {value, length};
}

CodePoint DecodeBefore(std::string_view text, std::size_t end) {
    std::size_t start = end - 1;
    while (start > 0 && end - start < 4 &&
           IsContinuation(static_cast<unsigned char>(text[start]))) {
        --start;
    }
    const CodePoint cp = DecodeAt(text, start);
    if (start + cp.length != end) {
        return {kReplacement, 1};
    }
    return cp;
}

std::size_t CountCodePoints(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        count += IsContinuation(static_cast<unsigned char>(c)) ? 0 : 1;
    }
    return count;
}

void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool IsLetter(char32_t c) {
    if (c < 0x80) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    }
    return (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) ||     // Latin
           (c >= 0x370 && c <= 0x3FF && c != 0x37E && c != 0x387) ||  // Greek
           (c >= 0x400 && c <= 0x52F && (c < 0x482 || c > 0x489)) ||  // Cyrillic
           (c >= 0x5D0 && c <= 0x5EA) ||                              // Hebrew
           (c >= 0x620 && c <= 0x64A) ||                              // Arabic
           (c >= 0x1E00 && c <= 0x1EFF) ||                            // Latin extended additional
           (c >= 0x3041 && c <= 0x30FF && c != 0x30FB) ||             // kana
           (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||  // Han
           (c >= 0xAC00 && c <= 0xD7AF);                                    // Hangul
}

bool IsDigit(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 0xFF10 && c <= 0xFF19);
}

char32_t FoldCase(char32_t c) {
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
        return c + 0x20;
    }
    if (c >= 0x100 && c <= 0x17F) {
        // Latin Extended-A pairs upper/lower as even/odd, except in two stretches that pair
        // odd/even; U+0130, U+0131, U+0138 and U+0149 have no simple pair.
        // Folding keeps the byte length, so positions in folded text match the original.
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) {
            return c;
        }
        if (c == 0x178) {
            return 0xFF;
        }
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddUpper) {
            return (c % 2 == 1) ? c + 1 : c;
        }
        return (c % 2 == 0) ? c + 1 : c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) {
        return c + 0x20;
    }
    if (c >= 0x410 && c <= 0x42F) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    if (c >= 0x490 && c <= 0x4BF) {  // Ukrainian ґ and other paired Cyrillic letters
        return (c % 2 == 0) ? c + 1 : c;
    }
    return c;
}

bool IsUpper(char32_t c) {
    return FoldCase(c) != c;
}

bool IsLower(char32_t c) {
    if (c < 0x80) {
        return c >= 'a' && c <= 'z';
    }
    return (c >= 0xDF && c <= 0xFF && c != 0xF7) || (c >= 0x100 && c <= 0x17F && !IsUpper(c)) ||
           (c >= 0x3AC && c <= 0x3CE) || (c >= 0x430 && c <= 0x45F) ||
           (c >= 0x490 && c <= 0x4BF && c % 2 == 1);
}

void FoldCaseInto(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out.push_back(static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte + 0x20 : byte));
            ++i;
            continue;
        }
        const CodePoint cp = DecodeAt(text, i);
        if (cp.value == kReplacement && cp.length == 1) {
            out.push_back(text[i]);
        } else {
            Append(out, FoldCase(cp.value));
        }
        i += cp.length;
    }
}

std::string_view Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlankByte(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlankByte(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

}  // namespace Tessaly::Docs::utf8
