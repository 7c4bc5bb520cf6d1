#pragma once
// The title and language a book is published under, resolved from the document's metadata
// with sound fallbacks.

#include <string>
#include <string_view>

#include "doclib/Document.h"

namespace Tessaly::Docs {

// The document's title on one line; when it has none, the output file's name without its
// extension; "Untitled" only when even that is empty.
std::string BookTitle(const Metadata& metadata, const std::string& outputPath);

// The document's language when it is a well-formed BCP 47 tag ('_' taken as '-'), else "und"
// (undetermined), which every checker accepts.
std::string BookLanguage(std::string_view language);

// Languages written right to left, by their primary subtag or script subtag.
bool IsRightToLeft(std::string_view languageTag);

}  // namespace Tessaly::Docs
