// Whole-text buffers asked for huge pages: the advice reaches the buffer's memory, and neither
// the advice nor its refusal touches what the buffer holds.

#include "doclib/HugePages.h"

#include <gtest/gtest.h>

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

TEST(HugePages, AdviceLeavesContentAndSmallOrEmptyBuffersAlone) {
    std::vector<std::uint32_t> table(std::size_t{3} << 20);
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = static_cast<std::uint32_t>(i * 2654435761u);
    }
    AdviseHugePagesFor(table);
    for (std::size_t i = 0; i < table.size(); i += 4099) {
        ASSERT_EQ(table[i], static_cast<std::uint32_t>(i * 2654435761u));
    }
    std::string empty;
    AdviseHugePagesFor(empty);
    AdviseHugePages(nullptr, std::size_t{64} << 20);
    std::string small(100, 's');
    AdviseHugePagesFor(small);
    EXPECT_EQ(small, std::string(100, 's'));
}

}  // namespace
