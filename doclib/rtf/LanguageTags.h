#pragma once
// Windows language identifiers (RTF's \langN and \deflangN) as BCP 47 tags.

#include <string_view>

namespace Tessaly::Docs::Rtf {

// The BCP 47 tag of a language identifier; empty for unknown ones and for the "no
// language" values (0, 1024 and the like).
std::string_view LanguageTag(int lcid);

}  // namespace Tessaly::Docs::Rtf
