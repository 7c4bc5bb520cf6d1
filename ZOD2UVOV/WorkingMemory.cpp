#include "ZOD2UVOV/WorkingMemory.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "doclib/HugePages.h"

namespace zod2uvov {

namespace {

// The largest size the allocator still serves from its heap rather than from a mapping of its
// own; larger buffers get their own mapping, made and unmapped each time.
constexpr std::size_t kHeapServesUpTo = std::size_t{32} << 20;
// Pieces in which the heap is grown, each below that size so that it comes from the heap.
constexpr std::size_t kPiece = std::size_t{16} << 20;
// A few whole-text buffers at once; beyond this the heap's own growth is left as it is.
constexpr std::uint64_t kMostPrepared = std::uint64_t{256} << 20;
// Small sources fault few pages: nothing to prepare.
constexpr std::uint64_t kWorthPreparing = std::uint64_t{1} << 20;

}  // namespace

void PrepareWorkingMemory(std::uint64_t sourceBytes) {
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kHeapServesUpTo));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * kMostPrepared));
    if (sourceBytes < kWorthPreparing) {
        return;
    }
    // The file, the document and the rebuilt document, with room for their tables.
    const std::uint64_t wanted = std::min<std::uint64_t>(4 * sourceBytes, kMostPrepared);
    // The heap grows by these pieces, side by side; freed, they join into one free stretch
    // whose pages are not touched yet and come in as huge pages when they are.
    std::vector<void*> pieces;
    pieces.reserve(static_cast<std::size_t>(wanted / kPiece + 1));
    for (std::uint64_t grown = 0; grown < wanted; grown += kPiece) {
        void* piece = std::malloc(kPiece);
        if (piece == nullptr) {
            break;
        }
        Tessaly::Docs::AdviseHugePages(piece, kPiece);
        pieces.push_back(piece);
    }
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        std::free(*it);
    }
}

}  // namespace zod2uvov
