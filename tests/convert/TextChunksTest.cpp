#include "convert/TextChunks.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/convert/SampleTexts.h"
#include "tests/support/TempHome.h"
#include "util/AppError.h"

namespace quillane {
namespace {

using test::TempDir;
using test::WriteFile;

int ErrorNumberOf(const std::string& path) {
    try {
        ReadTextChunks(path);
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

TEST(ReadTextChunks, ChunksHold256CharactersAndTheLastTheRest) {
    TempDir dir;
    WriteFile(dir / "empty.txt", "");
    EXPECT_EQ(ReadTextChunks(dir / "empty.txt"), std::vector<std::string>{""});

    WriteFile(dir / "256.txt", std::string(256, 'a'));
    EXPECT_EQ(ReadTextChunks(dir / "256.txt").size(), 1u);

    WriteFile(dir / "257.txt", std::string(256, 'a') + "b");
    const auto two = ReadTextChunks(dir / "257.txt");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0], std::string(256, 'a'));
    EXPECT_EQ(two[1], "b");

    WriteFile(dir / "1000.txt", std::string(1000, 'x'));
    const auto four = ReadTextChunks(dir / "1000.txt");
    ASSERT_EQ(four.size(), 4u);
    EXPECT_EQ(four[3].size(), 1000u - 3 * 256);
}

TEST(ReadTextChunks, CountsCharactersNotBytes) {
    TempDir dir;
    // 257 Cyrillic letters of two bytes each: one chunk of 256 and one of a single letter.
    std::string text;
    for (int k = 0; k < 257; ++k) {
        text += "ж";
    }
    WriteFile(dir / "cyr.txt", text);
    const auto chunks = ReadTextChunks(dir / "cyr.txt");
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].size(), 512u);
    EXPECT_EQ(chunks[1], "ж");
    // A four-byte character is one character, never cut.
    EXPECT_EQ(SplitIntoChunks(std::string(255, 'a') + "\xF0\x9F\x98\x80" + "b")[0].size(), 259u);
}

TEST(ReadTextChunks, LineEndsStayAndTheMarkGoes) {
    TempDir dir;
    WriteFile(dir / "bom.txt", "\xEF\xBB\xBFone\r\ntwo\rthree\n");
    EXPECT_EQ(ReadTextChunks(dir / "bom.txt"), std::vector<std::string>{"one\r\ntwo\rthree\n"});
    WriteFile(dir / "koi8.txt", test::Encode(test::kRussianText, "KOI8-R"));
    std::string joined;
    for (const auto& c : ReadTextChunks(dir / "koi8.txt")) {
        joined += c;
    }
    EXPECT_EQ(joined, test::kRussianText);
}

TEST(ReadTextChunks, UnreadableSourcesRaiseTheirError) {
    TempDir dir;
    EXPECT_EQ(ErrorNumberOf(dir / "vanished.txt"), errc::kFileNotFound);
    EXPECT_EQ(ErrorNumberOf(""), errc::kFileNotFound);
    std::filesystem::create_directory(dir / "folder.txt");
    EXPECT_EQ(ErrorNumberOf(dir / "folder.txt"), errc::kDeviceIo);
    WriteFile(dir / "plain", "x");
    EXPECT_EQ(ErrorNumberOf(dir / "plain/below.txt"), errc::kPathNotFound);
}

}  // namespace
}  // namespace quillane
