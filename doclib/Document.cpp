#include "doclib/Document.h"

namespace Tessaly::Docs {

Block& Document::BeginBlock(BlockKind kind, std::uint8_t level) {
    Block block;
    block.kind = kind;
    block.level = level;
    block.firstSpan = static_cast<std::uint32_t>(spans.size());
    blocks.push_back(block);
    return blocks.back();
}

void Document::AppendText(std::string_view utf8, std::uint16_t format, std::uint32_t ref) {
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
