#pragma once
// The memory a conversion works in. A conversion lives in a few buffers the size of the whole
// text (the file, the document, the rebuilt document), each made and freed once; on a virtual
// machine, faulting their pages in one by one costs more than the work done in them.

#include <cstdint>

namespace zod2uvov {

// Readies the heap for the conversion of a source of `sourceBytes`: freed whole-text buffers
// stay in the heap for the next step to reuse, and the heap they come from is asked for huge
// pages (where the system gives them on request). Only the heap's settings and its untouched
// address space change; nothing is kept allocated.
void PrepareWorkingMemory(std::uint64_t sourceBytes);

}  // namespace zod2uvov
