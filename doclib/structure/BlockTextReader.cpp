#include "doclib/structure/BlockTextReader.h"

namespace Tessaly::Docs {

std::string_view BlockTextReader::Gathered(const Block& block) {
    if (block.spanCount == 0) {
        return {};
    }
    const Span& first = doc_.spans[block.firstSpan];
    std::uint64_t end = first.offset + first.length;
    bool contiguous = true;
    for (std::uint32_t i = 1; i < block.spanCount && contiguous; ++i) {
        const Span& span = doc_.spans[block.firstSpan + i];
        contiguous = span.offset == end;
        end += span.length;
    }
    if (contiguous) {
        return std::string_view(doc_.text).substr(first.offset, end - first.offset);
    }
    scratch_.clear();
    for (std::uint32_t i = 0; i < block.spanCount; ++i) {
        scratch_.append(doc_.SpanText(doc_.spans[block.firstSpan + i]));
    }
    return scratch_;
}

}  // namespace Tessaly::Docs
