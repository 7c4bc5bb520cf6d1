#pragma once
// The language of a book: the language of most of its prose (text/ProseLanguage.h). The
// answer is a BCP 47 tag, or empty when no language holds a majority (the writer then
// declares "und").

#include <string>
#include <string_view>

#include "doclib/Document.h"

namespace Tessaly::Docs {

std::string DetectLanguage(std::string_view text);

// Reads the document's arena in windows spread over its length, so a 100 MB book costs no
// more than a short story.
std::string DetectDocumentLanguage(const Document& doc);

}  // namespace Tessaly::Docs
