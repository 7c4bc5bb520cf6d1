#include "filelist/NameCharacters.h"

namespace quillane {

namespace {

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Stray bytes are kept apart from every real code point by placing them above the Unicode
// range, so a folded name never confuses a stray byte with a letter.
constexpr char32_t kStrayByteBase = 0x110000;

char32_t UpperCase(char32_t c) {
    if (c >= U'a' && c <= U'z') {
        return c - 32;
    }
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) {  // Latin-1 letters, not the division sign
        return c - 32;
    }
    if (c == 0xFF) {
        return 0x178;
    }
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
        c != 0x17F) {
        // Latin Extended-A pairs capital and small letters; the pairing flips parity once.
        const bool smallIsOdd = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
        if (smallIsOdd ? (c % 2 == 1) : (c % 2 == 0 && c != 0x178)) {
            return c - 1;
        }
        return c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) {  // Greek small letters, not final sigma
        return c - 32;
    }
    if (c == 0x3C2) {
        return 0x3A3;
    }
    if (c >= 0x430 && c <= 0x44F) {  // Cyrillic а..я
        return c - 32;
    }
    if (c >= 0x450 && c <= 0x45F) {  // Cyrillic ѐ..џ
        return c - 80;
    }
    return c;
}

}  // namespace

NameCharacter ReadCharacter(const std::string& text, std::size_t pos) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    const NameCharacter stray{b0, false, 1};
    if (b0 < 0x80) {
        return {b0, true, 1};
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2, cp = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, cp = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, cp = b0 & 0x07, minimum = 0x10000;
    } else {
        return stray;
    }
    if (pos + length > text.size()) {
        return stray;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if (!IsContinuation(b)) {
            return stray;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past the Unicode range are not valid UTF-8.
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return stray;
    }
    return {cp, true, length};
}

std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += ReadCharacter(text, pos).length) {
        ++count;
    }
    return count;
}

bool HasUnsafeChars(const std::string& name) {
    for (std::size_t pos = 0; pos < name.size();) {
        const NameCharacter c = ReadCharacter(name, pos);
        pos += c.length;
        if (!c.valid) {
            continue;
        }
        if (c.codePoint < 32 || (c.codePoint >= 127 && c.codePoint <= 159) || c.codePoint == U'?') {
            return true;
        }
    }
    return false;
}

std::u32string FoldedName(const std::string& name) {
    std::u32string folded;
    folded.reserve(name.size());
    for (std::size_t pos = 0; pos < name.size();) {
        const NameCharacter c = ReadCharacter(name, pos);
        pos += c.length;
        folded += c.valid ? UpperCase(c.codePoint) : kStrayByteBase + c.codePoint;
    }
    return folded;
}

}  // namespace quillane
