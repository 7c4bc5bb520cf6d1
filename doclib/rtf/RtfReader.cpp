#include "doclib/rtf/RtfReader.h"

// Placeholder until the reader lands: recognises RTF and nothing more.
namespace Tessaly::Docs {
bool LooksLikeRtf(std::string_view data) {
    const auto start = data.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && data.substr(start, 5) == "{\\rtf";
}
Document ReadRtf(std::string_view) { throw DocumentError("RTF reader not built yet"); }
Document ReadRtfFile(const std::string&) { throw DocumentError("RTF reader not built yet"); }
}  // namespace Tessaly::Docs
