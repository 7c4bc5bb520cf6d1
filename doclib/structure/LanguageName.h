#pragma once
// The language a text names for itself ("Language: Finnish", "Language: fr") as a BCP 47 tag.
// English names are looked up in ICU's own table of languages, so every language ICU knows is
// understood, not only the few a list of ours would hold.

#include <string>
#include <string_view>

namespace Tessaly::Docs {

// "Finnish" -> "fi", "fr" -> "fr", "pt-BR" -> "pt-BR"; empty for a name ICU does not know and
// for a list of several languages ("English and French"), where no one tag is right.
std::string LanguageTagFromName(std::string_view declared);

// The primary language subtag, lowercase: "en-GB" -> "en".
std::string PrimaryLanguage(std::string_view tag);

}  // namespace Tessaly::Docs
