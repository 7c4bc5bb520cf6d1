#pragma once
// Cuts a document's body into content files. A file starts at every heading of level 1 or 2
// (a part or a chapter), and a stretch that would make a file larger than a reading system
// handles comfortably is cut at a paragraph boundary; a single paragraph too large for one
// file is cut at a line break, else after a space, else (last resort) between two characters.
// The cut never loses or reorders text: the pieces, read in order, are the whole body.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "doclib/Document.h"

namespace Tessaly::Docs {

// A place in the body: a block and a byte offset into its text (its spans joined).
struct BodyPosition {
    std::uint32_t block = 0;
    std::uint64_t offset = 0;
    friend bool operator==(const BodyPosition&, const BodyPosition&) = default;
};

// One content file: the body from `begin` up to, not including, `end`, then the notes whose
// text it carries.
struct ContentPiece {
    BodyPosition begin;
    BodyPosition end;
    std::vector<std::uint32_t> notes;
};

struct ChapterPlan {
    std::vector<ContentPiece> pieces;  // never empty
    // Per note: the piece that carries its text, and the span of its first reference (or
    // kNoSpan) with the piece that span is in.
    std::vector<std::uint32_t> notePiece;
    std::vector<std::uint32_t> noteFirstRef;
    std::vector<std::uint32_t> noteFirstRefPiece;
    static constexpr std::uint32_t kNoSpan = 0xffffffffu;
};

// `bodyBudget` is the most markup bytes a file's body may take (see ContentWriter.h for the
// size bounds the plan is built on).
ChapterPlan PlanChapters(const Document& doc, std::size_t bodyBudget);

// The length of a block's text in bytes.
std::uint64_t BlockLength(const Document& doc, const Block& block);

}  // namespace Tessaly::Docs
