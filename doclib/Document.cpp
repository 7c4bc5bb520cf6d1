#include "doclib/Document.h"

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

Document::Document(const std::string& path) {
    *this = ReadRtfFile(path);
    RefineForReading(*this);
}

void Document::Save(const std::string& path) const {
    if (LowerExtension(path) != ".epub") {
        throw DocumentError("cannot save '" + path +
                            "': unsupported output format (use a .epub file name)");
    }
    WriteEpub(*this, path);
}

Block& Document::BeginBlock(BlockKind kind, std::uint8_t level) {
    Block block;
    block.kind = kind;
    block.level = level;
    block.firstSpan = static_cast<std::uint32_t>(spans.size());
    blocks.push_back(block);
    return blocks.back();
}

void Document::AppendText(std::string_view utf8, std::uint8_t format, std::uint32_t ref) {
    if (utf8.empty()) {
        return;
    }
    if (blocks.empty()) {
        BeginBlock();
    }
    Block& block = blocks.back();
    const bool extendsLast = block.spanCount > 0 && spans.back().format == format &&
                             spans.back().ref == ref &&
                             spans.back().offset + spans.back().length == text.size();
    if (extendsLast) {
        spans.back().length += static_cast<std::uint32_t>(utf8.size());
    } else {
        Span span;
        span.offset = text.size();
        span.length = static_cast<std::uint32_t>(utf8.size());
        span.format = format;
        span.ref = ref;
        spans.push_back(span);
        ++block.spanCount;
    }
    text.append(utf8);
}

std::string Document::BlockText(const Block& block) const {
    std::string out;
    for (std::uint32_t i = 0; i < block.spanCount; ++i) {
        out.append(SpanText(spans[block.firstSpan + i]));
    }
    return out;
}

}  // namespace Tessaly::Docs
