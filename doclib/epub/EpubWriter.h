#pragma once
// Writes a Document as an EPUB 3 book (with an EPUB 2 NCX for older readers).

#include <string>

#include "doclib/Document.h"

namespace Tessaly::Docs {

// Writes atomically: a temporary file in the target folder, renamed over `path` on success.
// Throws DocumentError on failure. When the document has no title, the title comes from the
// file name of `path`.
void WriteEpub(const Document& doc, const std::string& path);

}  // namespace Tessaly::Docs
