#include "doclib/DocumentFile.h"

#include <algorithm>
#include <cctype>

#include "doclib/epub/EpubWriter.h"
#include "doclib/rtf/RtfReader.h"
#include "doclib/structure/Refine.h"

namespace Tessaly::Docs {

namespace {

std::string LowerExtension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

}  // namespace

Document OpenDocument(const std::string& path) {
    Document doc = ReadRtfFile(path);
    RefineForReading(doc);
    return doc;
}

void SaveDocument(const Document& doc, const std::string& path) {
    if (LowerExtension(path) != ".epub") {
        throw DocumentError("cannot save '" + path +
                            "': unsupported output format (use a .epub file name)");
    }
    WriteEpub(doc, path);
}

Document::Document(const std::string& path) : Document(OpenDocument(path)) {}

void Document::Save(const std::string& path) const {
    SaveDocument(*this, path);
}

}  // namespace Tessaly::Docs
