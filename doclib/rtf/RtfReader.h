#pragma once
// Reads RTF (as real word processors write it, and as our staging writes it) into a Document.

#include <string>
#include <string_view>

#include "doclib/Document.h"

namespace Tessaly::Docs {

// True when `data` looks like an RTF document ("{\rtf" after optional white space).
bool LooksLikeRtf(std::string_view data);

// Parses RTF text. Bad input gives a best-effort document or throws DocumentError; it never
// crashes, hangs or grows without bound.
Document ReadRtf(std::string_view data);

// Reads the file at `path`; throws DocumentError when it cannot be read or is not RTF.
Document ReadRtfFile(const std::string& path);

}  // namespace Tessaly::Docs
