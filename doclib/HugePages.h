#pragma once
// Whole-text buffers (the document's arena, its tables, the line scan) are asked for huge
// pages when they are made: faulting a buffer of a large text in page by page costs more than
// the work done in it, on a virtual machine above all.

#include <cstddef>

namespace Tessaly::Docs {

// A hint for the untouched storage [data, data + bytes) of a buffer just reserved: where the
// system gives huge pages on request, its pages come in 2 MB at a time. Small buffers and
// systems without huge pages are left as they are; nothing about the buffer's content changes.
void AdviseHugePages(const void* data, std::size_t bytes);

// The same for the reserved storage of a string or vector.
template <typename Buffer>
void AdviseHugePagesFor(const Buffer& buffer) {
    AdviseHugePages(buffer.data(), buffer.capacity() * sizeof(*buffer.data()));
}

}  // namespace Tessaly::Docs
