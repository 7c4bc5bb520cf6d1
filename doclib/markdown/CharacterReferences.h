#pragma once
// HTML character references ("&amp;", "&#233;", "&#x1F600;") as the characters they name. A
// Markdown parser hands them over as written; the book shows the character.

#include <string>
#include <string_view>

namespace Tessaly::Docs {

// Appends the character `reference` names, or the reference as written when it names none we
// know. A number that is no character (zero, a surrogate, beyond U+10FFFF) is U+FFFD.
void AppendCharacterReference(std::string& out, std::string_view reference);

// Appends `text` with every character reference in it decoded (raw HTML's text and attribute
// values).
void AppendWithReferencesDecoded(std::string& out, std::string_view text);

}  // namespace Tessaly::Docs
