#pragma once
// The whole text of a block as one view. A block's spans nearly always lie side by side in the
// arena, so the view points into it; only scattered spans are copied, into one reused buffer.

#include <string>
#include <string_view>

#include "doclib/Document.h"

namespace Tessaly::Docs {

class BlockTextReader {
  public:
    explicit BlockTextReader(const Document& doc) : doc_(doc) {}

    // Valid until the next call.
    std::string_view Text(const Block& block) {
        // A line of staged text is one span: read where it lies, without a call.
        if (block.spanCount == 1) {
            return doc_.SpanText(doc_.spans[block.firstSpan]);
        }
        return Gathered(block);
    }

  private:
    // The text of a block of several spans.
    std::string_view Gathered(const Block& block);

    const Document& doc_;
    std::string scratch_;
};

}  // namespace Tessaly::Docs
