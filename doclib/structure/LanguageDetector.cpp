#include "doclib/structure/LanguageDetector.h"

#include <algorithm>

#include "text/ProseLanguage.h"

namespace Tessaly::Docs {

namespace {

// A book up to this size is read whole; a longer one in kWindows runs of paragraphs of about
// kWindow bytes each, spread over its length.
constexpr std::size_t kReadWhole = 256 * 1024;
constexpr std::size_t kWindows = 64;
constexpr std::size_t kWindow = 4 * 1024;

// Appends at most `limit` bytes of the block's text, cut on a character, and a paragraph break.
void AppendBlockText(const Document& doc, const Block& block, std::size_t limit, std::string& out) {
    for (std::uint32_t i = 0; i < block.spanCount && limit > 0; ++i) {
        std::string_view piece = doc.SpanText(doc.spans[block.firstSpan + i]);
        if (piece.size() > limit) {
            std::size_t cut = limit;
            while (cut > 0 && (static_cast<unsigned char>(piece[cut]) & 0xC0) == 0x80) {
                --cut;
            }
            piece = piece.substr(0, cut);
            limit = 0;
        } else {
            limit -= piece.size();
        }
        out.append(piece);
    }
    out.append("\n\n");
}

}  // namespace

std::string DetectLanguage(std::string_view text) {
    return text::ProseLanguageOf(text);
}

std::string DetectDocumentLanguage(const Document& doc) {
    // The arena holds paragraphs without breaks between them: the identifier reads them as the
    // lines and paragraphs they are.
    const std::size_t stride = std::max<std::size_t>(doc.text.size() / kWindows, 1);
    const bool whole = doc.text.size() <= kReadWhole;
    std::string prose;
    std::size_t nextWindow = 0;
    std::size_t windowEnd = 0;
    for (const Block& block : doc.blocks) {
        if (block.spanCount == 0) {
            continue;
        }
        const std::size_t at = doc.spans[block.firstSpan].offset;
        if (!whole && prose.size() >= windowEnd) {
            if (at < nextWindow) {
                continue;  // between windows
            }
            windowEnd = prose.size() + kWindow;
            nextWindow = at + stride;
        }
        AppendBlockText(doc, block, whole ? doc.text.size() : kWindow, prose);
    }
    return text::ProseLanguageOf(prose);
}

}  // namespace Tessaly::Docs
