#pragma once
// Reads the instruction of an RTF field (the text of \fldinst) for what the book keeps: the
// target of a HYPERLINK field.

#include <optional>
#include <string>
#include <string_view>

namespace Tessaly::Docs::Rtf {

// The link target of a HYPERLINK field ("url", or "url#anchor" / "#anchor" with the \l
// switch); nothing for any other field or a hyperlink without a target.
std::optional<std::string> HyperlinkTarget(std::string_view instruction);

}  // namespace Tessaly::Docs::Rtf
