// The converter's working memory: the heap it prepares hands out whole-text buffers marked for
// huge pages, and the preparation itself keeps nothing allocated.

#include "ZOD2UVOV/WorkingMemory.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdint>
#include <string>

#include "tests/support/Mappings.h"

namespace {

using quillane::test::FlagsOfMappingAt;
using quillane::test::HugePagesOnRequest;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kOwnAllocator = true;  // the sanitizer's allocator serves malloc, not the heap
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kOwnAllocator = true;
#else
constexpr bool kOwnAllocator = false;
#endif
#else
constexpr bool kOwnAllocator = false;
#endif

TEST(WorkingMemory, AWholeTextBufferComesFromHeapMarkedForHugePages) {
    if (kOwnAllocator || !HugePagesOnRequest()) {
        GTEST_SKIP() << "no huge pages on request here, or another allocator";
    }
    constexpr std::uint64_t kSource = 10 << 20;
    zod2uvov::PrepareWorkingMemory(kSource);
    // A buffer as large as the text, made after the preparation, as the reader makes it.
    std::string text(kSource, 'x');
    const std::string flags = FlagsOfMappingAt(text.data() + text.size() / 2);
    ASSERT_FALSE(flags.empty());
    EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;
}

TEST(WorkingMemory, PreparingKeepsNothingAllocated) {
    if (kOwnAllocator) {
        GTEST_SKIP() << "the sanitizer's allocator keeps its own books";
    }
    const std::size_t before = mallinfo2().uordblks;
    zod2uvov::PrepareWorkingMemory(std::uint64_t{64} << 20);
    zod2uvov::PrepareWorkingMemory(0);
    const std::size_t after = mallinfo2().uordblks;
    EXPECT_LT(after, before + (64 << 10));
}

}  // namespace
