// Whole-text buffers asked for huge pages: the advice reaches the buffer's memory, and no
// memory outside it.

#include "doclib/HugePages.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/Mappings.h"

namespace {

using quillane::test::FlagsOfMappingAt;
using Tessaly::Docs::AdviseHugePages;
using Tessaly::Docs::AdviseHugePagesFor;

TEST(HugePages, ALargeReservedBufferIsMarkedForHugePages) {
    if (!quillane::test::HugePagesOnRequest()) {
        GTEST_SKIP() << "no huge pages on request here";
    }
    std::string arena;
    arena.reserve(std::size_t{48} << 20);
    AdviseHugePagesFor(arena);
    arena.assign(std::size_t{40} << 20, 'a');
    const std::string flags = FlagsOfMappingAt(arena.data() + arena.size() / 2);
    ASSERT_FALSE(flags.empty());
    EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
}

// A huge page that reached past the buffer would take its neighbours' memory with it: only the
// whole huge pages inside a buffer are marked, and a buffer too small to be worth it not at all.
TEST(HugePages, OnlyWholeHugePagesInsideALargeEnoughBufferAreMarked) {
    if (!quillane::test::HugePagesOnRequest()) {
        GTEST_SKIP() << "no huge pages on request here";
    }
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    struct Probe {
        std::size_t at;  // from the first huge page boundary of the mapping
        bool marked;
    };
    struct Case {
        const char* what;
        std::size_t offset;
        std::size_t bytes;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"a buffer between huge page boundaries",
         kMiB,
         8 * kMiB,
         {{kMiB + 4096, false},      // in the buffer, in a huge page that begins before it
          {2 * kMiB, true},          // the first whole huge page
          {7 * kMiB, true},          // the last whole huge page
          {8 * kMiB + 4096, false},  // in the buffer, in a huge page that ends after it
          {12 * kMiB, false}}},      // past the buffer
        {"a small buffer", 0, 3 * kMiB, {{0, false}, {kMiB, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A mapping of its own, larger than the case by more than a huge page, so that a huge page
        // boundary lies inside it.
        const std::size_t length = 20 * kMiB;
        void* mapping =
            mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(mapping, MAP_FAILED);
        const auto start = reinterpret_cast<std::uintptr_t>(mapping);
        const std::uintptr_t boundary = (start + 2 * kMiB - 1) & ~std::uintptr_t{2 * kMiB - 1};
        auto* base = reinterpret_cast<char*>(boundary);
        AdviseHugePages(base + c.offset, c.bytes);
        for (const Probe& probe : c.probes) {
            const std::string flags = FlagsOfMappingAt(base + probe.at);
            ASSERT_FALSE(flags.empty());
            EXPECT_EQ(flags.find(" hg") != std::string::npos, probe.marked)
                << "at " << probe.at << ": " << flags;
        }
        munmap(mapping, length);
    }
}

}  // namespace
