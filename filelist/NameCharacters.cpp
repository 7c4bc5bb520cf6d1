#include "filelist/NameCharacters.h"

#include <unicode/uchar.h>

#include "text/Utf8.h"

namespace quillane {

namespace {

// Stray bytes are kept apart from every real code point by placing them above the Unicode
// range, so a folded name never confuses a stray byte with a letter.
constexpr char32_t kStrayByteBase = 0x110000;

// Case-insensitive file systems compare names with each letter upper-cased on its own
// (Unicode's simple mapping), so "_" sorts after the letters.
char32_t UpperCase(char32_t c) {
    if (c < 0x80) {
        return (c >= U'a' && c <= U'z') ? c - 32 : c;
    }
    return static_cast<char32_t>(u_toupper(static_cast<UChar32>(c)));
}

}  // namespace

NameCharacter ReadCharacter(const std::string& text, std::size_t pos) {
    const text::utf8::CodePoint cp = text::utf8::DecodeAt(text, pos);
    if (!text::utf8::IsWellFormed(text, pos, cp)) {
        return {static_cast<unsigned char>(text[pos]), false, 1};
    }
    return {cp.value, true, cp.length};
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
