// The converter's working memory: the heap it prepares hands out whole-text buffers marked for
// huge pages, and the preparation itself keeps nothing allocated.

#include "ZOD2UVOV/WorkingMemory.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace {

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

// The VmFlags line of the mapping of this process that holds `address`, empty when none does.
std::string FlagsOfMappingAt(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        std::uintptr_t start = 0;
        std::uintptr_t end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> start >> dash >> end && dash == '-' &&
            line.find(':') > line.find(' ')) {
            inside = start <= at && at < end;
            continue;
        }
        if (inside && line.rfind("VmFlags:", 0) == 0) {
            return line;
        }
    }
    return {};
}

bool HugePagesOnRequest() {
    std::ifstream enabled("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    std::getline(enabled, modes);
    return modes.find("[madvise]") != std::string::npos ||
           modes.find("[always]") != std::string::npos;
}

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
