// libFuzzer target for the RTF reader: any input must give a sound document or a
// DocumentError, within the sanitizers' eyes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "doclib/rtf/RtfReader.h"

namespace {

using Tessaly::Docs::Block;
using Tessaly::Docs::Document;

void Require(bool condition) {
    if (!condition) {
        std::abort();  // a broken document: the fuzzer reports it as a crash
    }
}

void CheckDocument(const Document& doc) {
    for (const auto& span : doc.spans) {
        Require(span.offset + span.length <= doc.text.size());
        if (span.format & Tessaly::Docs::kLink) {
            Require(span.ref < doc.links.size());
        }
        if (span.format & Tessaly::Docs::kNoteRef) {
            Require(span.ref < doc.notes.size());
        }
    }
    for (const std::vector<Block>* blocks : {&doc.blocks, &doc.noteBlocks}) {
        for (const Block& block : *blocks) {
            Require(block.firstSpan + static_cast<std::uint64_t>(block.spanCount) <=
                    doc.spans.size());
            Require(block.kind != Tessaly::Docs::BlockKind::Heading ||
                    (block.level >= 1 && block.level <= 6));
        }
    }
    for (const auto& note : doc.notes) {
        Require(note.firstBlock + static_cast<std::uint64_t>(note.blockCount) <=
                doc.noteBlocks.size());
    }
    for (const unsigned char c : doc.text) {
        Require(c >= 0x20 || c == '\t' || c == '\n');
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    try {
        const Document doc = Tessaly::Docs::ReadRtf(input);
        CheckDocument(doc);
    } catch (const Tessaly::Docs::DocumentError&) {
        // A clean refusal is a correct answer.
    }
    return 0;
}
