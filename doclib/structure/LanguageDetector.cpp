#include "doclib/structure/LanguageDetector.h"

#include "text/ProseLanguage.h"

namespace Tessaly::Docs {

std::string DetectLanguage(std::string_view text) {
    return text::ProseLanguageOf(text);
}

std::string DetectDocumentLanguage(const Document& doc) {
    return text::ProseLanguageOf(doc.text);
}

}  // namespace Tessaly::Docs
