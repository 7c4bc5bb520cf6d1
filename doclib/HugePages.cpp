#include "doclib/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace Tessaly::Docs {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
// Below this a buffer holds at most one huge page: not worth the call.
constexpr std::size_t kWorthAdvising = std::size_t{4} << 20;

}  // namespace

void AdviseHugePages(const void* data, std::size_t bytes) {
    if (data == nullptr || bytes < kWorthAdvising) {
        return;
    }
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + bytes) & ~(kHugePage - 1);
    if (end > first) {
        // Only whole huge pages inside the buffer; a failure (huge pages off) changes nothing.
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    }
}

}  // namespace Tessaly::Docs
