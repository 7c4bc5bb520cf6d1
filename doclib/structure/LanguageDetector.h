#pragma once
// The language of a book, by the language identifier of text/LanguageIdentifier.h. The
// answer is a BCP 47 tag, or empty when the identifier is unsure (the writer then declares
// "und").

#include <string>
#include <string_view>

#include "doclib/Document.h"

namespace Tessaly::Docs {

std::string DetectLanguage(std::string_view text);

// Samples the document's arena (its head and windows spread over the rest), so a 100 MB book
// costs no more than a short story.
std::string DetectDocumentLanguage(const Document& doc);

}  // namespace Tessaly::Docs
