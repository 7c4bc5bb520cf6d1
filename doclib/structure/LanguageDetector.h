#pragma once
// Guesses the language of a book from a bounded sample of its text: the script first (Cyrillic,
// Greek, kana, Han, Hangul, Arabic, Hebrew), then, for Latin and Cyrillic script, the commonest
// short words and a few letters only one language uses. The answer is a BCP 47 tag, or empty
// when the text does not say clearly (the writer then declares "und").

#include <string>
#include <string_view>

#include "doclib/Document.h"

namespace Tessaly::Docs {

std::string DetectLanguage(std::string_view text);

// Samples the document's arena: its first 64 KB and sixteen windows spread over the rest, so a
// 100 MB book costs no more than a short story.
std::string DetectDocumentLanguage(const Document& doc);

}  // namespace Tessaly::Docs
