#pragma once
// How the walk judges a name's characters: by Unicode code point, read from the name's UTF-8
// bytes. A byte that does not belong to a valid UTF-8 sequence counts as one character of its
// own, so a name from an older file system is judged rather than dropped.

#include <cstddef>
#include <string>

namespace quillane {

// One character read from a UTF-8 text: its code point, or, for a stray byte, that byte.
struct NameCharacter {
    char32_t codePoint = 0;
    bool valid = true;       // false: `codePoint` is the value of a byte that is not valid UTF-8
    std::size_t length = 1;  // bytes taken from the text
};

// The character that starts at `pos` (pos < text.size()).
NameCharacter ReadCharacter(const std::string& text, std::size_t pos);

// The number of characters of `text`.
std::size_t CharacterCount(const std::string& text);

// True when the name holds a control character (below 32, or 127 to 159) or a "?", which the
// walk refuses in a folder name. Stray bytes are not control characters.
bool HasUnsafeChars(const std::string& name);

// The name with its letters folded to one case, as the listing compares names: every letter
// upper-cased by Unicode's simple mapping; stray bytes keep their value.
std::u32string FoldedName(const std::string& name);

}  // namespace quillane
