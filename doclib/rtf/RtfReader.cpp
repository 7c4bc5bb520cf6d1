#include "doclib/rtf/RtfReader.h"

#include <cstdint>

#include "doclib/rtf/RtfParser.h"
#include "fileio/File.h"

namespace Tessaly::Docs {

namespace {

// The staged document is at most a few times its source; this is far beyond any of them.
constexpr std::uint64_t kDocumentLimit = std::uint64_t{16} << 30;

// The whole file in one buffer, read once.
std::string ReadWholeFile(const std::string& path) {
    std::string data;
    if (const fileio::FileStatus status = fileio::ReadRegularFile(path, kDocumentLimit, data);
        !status.ok()) {
        throw DocumentError("cannot read '" + path + "': " + status.Describe());
    }
    return data;
}

}  // namespace

bool LooksLikeRtf(std::string_view data) {
    const auto start = data.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && data.substr(start, 5) == "{\\rtf";
}

Document ReadRtf(std::string_view data) {
    if (!LooksLikeRtf(data)) {
        throw DocumentError("not an RTF document: the text does not begin with {\\rtf");
    }
    Rtf::RtfParser parser(data);
    return parser.Parse();
}

Document ReadRtfFile(const std::string& path) {
    std::string data = ReadWholeFile(path);
    if (!LooksLikeRtf(data)) {
        throw DocumentError("'" + path +
                            "' is not an RTF document (it does not begin with {\\rtf)");
    }
    Document doc = ReadRtf(data);
    data = std::string();  // the raw RTF goes before the caller builds anything from the model
    return doc;
}

}  // namespace Tessaly::Docs
