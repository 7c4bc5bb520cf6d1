#include "doclib/structure/LanguageDetector.h"

#include "text/LanguageIdentifier.h"

namespace Tessaly::Docs {

std::string DetectLanguage(std::string_view text) {
    return text::LanguageTagOf(text);
}

std::string DetectDocumentLanguage(const Document& doc) {
    return text::LanguageTagOf(doc.text);
}

}  // namespace Tessaly::Docs
