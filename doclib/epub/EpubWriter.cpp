#include "doclib/epub/EpubWriter.h"

namespace Tessaly::Docs {
void WriteEpub(const Document&, const std::string&) {
    throw DocumentError("EPUB writer not built yet");
}
}  // namespace Tessaly::Docs
