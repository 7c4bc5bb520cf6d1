#include "filelist/Scramble.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "filelist/NameCharacters.h"
#include "filelist/SampleFiles.h"
#include "tests/support/TempHome.h"

namespace quillane {
namespace {

std::string EveryByte() {
    std::string text;
    for (int c = 1; c <= 255; ++c) {
        text += static_cast<char>(c);
    }
    return text;
}

TEST(Scramble, ShiftsEachByteByTheKeyAndWraps) {
    EXPECT_EQ(std::string(kSnapshotKey).size(), 8u);
    // 'a' + 'v' = 215; 200 + 'o' (111) = 311, less 255 = 56; the key repeats after 8 letters.
    EXPECT_EQ(ScrambleText("a\xc8", "vo"), "\xd7\x38");
    EXPECT_EQ(ScrambleText("aaa", "vo"), "\xd7\xd0\xd7");
    EXPECT_EQ(UnscrambleText("\xd7\x38", "vo"), "a\xc8");
    EXPECT_EQ(ScrambleText("", kSnapshotKey), "");
}

TEST(Scramble, EveryByteComesBackAndNoneBecomesZero) {
    const std::string plain = EveryByte() + EveryByte();
    int yields = 0;
    const std::string scrambled = ScrambleText(plain, kSnapshotKey, [&] { ++yields; });
    EXPECT_EQ(yields, static_cast<int>(plain.size()));
    EXPECT_EQ(scrambled.size(), plain.size());
    EXPECT_EQ(scrambled.find('\0'), std::string::npos);
    EXPECT_NE(scrambled, plain);
    EXPECT_EQ(UnscrambleText(scrambled, kSnapshotKey), plain);
}

TEST(Scramble, StoredFormIsValidUtf8AndRoundTrips) {
    const std::string scrambled = EveryByte();
    const std::string stored = ScrambledToStored(scrambled);
    for (std::size_t pos = 0; pos < stored.size();) {
        const NameCharacter c = ReadCharacter(stored, pos);
        ASSERT_TRUE(c.valid) << "at byte " << pos;
        pos += c.length;
    }
    EXPECT_EQ(CharacterCount(stored), scrambled.size());
    EXPECT_EQ(StoredToScrambled(stored), scrambled);
    EXPECT_EQ(StoredToScrambled("ok\xe2\x82\xac"), "ok?");  // a hand-edited character above 255
}

TEST(Scramble, PathsInAnyScriptRoundTrip) {
    const std::string list =
        "/opt/Книги/日本語/Samples/a.txt|/opt/Книги/日本語/Samples/Ünïcödé.txt";
    EXPECT_EQ(UnscrambleText(StoredToScrambled(ScrambledToStored(ScrambleText(list, kSnapshotKey))),
                             kSnapshotKey),
              list);
}

TEST(SampleFiles, ListTextJoinsFullPathsInListingOrder) {
    test::TempDir program;
    EXPECT_EQ(SampleListText(program.path()), "");  // no Samples folder at all
    std::filesystem::create_directory(program / "Samples");
    EXPECT_EQ(SampleListText(program.path()), "");
    test::WriteFile(program / "Samples/b poem.txt", "x");
    test::WriteFile(program / "Samples/A story.txt", "x");
    std::filesystem::create_directory(program / "Samples/inner");
    const std::string folder = program.path() + "/Samples/";
    EXPECT_EQ(SampleListText(program.path()), folder + "A story.txt|" + folder + "b poem.txt");
}

// Guards the remembered list against names that would split it into paths that do not exist.
TEST(SampleFiles, PathsHoldingABarAreLeftOut) {
    test::TempDir program;
    std::filesystem::create_directory(program / "Samples");
    test::WriteFile(program / "Samples/a|b.txt", "x");
    test::WriteFile(program / "Samples/c.txt", "x");
    test::WriteFile(program / "Samples/|", "x");
    const std::string folder = program.path() + "/Samples/";
    EXPECT_EQ(SampleListText(program.path()), folder + "c.txt");
    EXPECT_EQ(SampleListPaths(SampleListText(program.path())),
              (std::vector<std::string>{folder + "c.txt"}));

    std::filesystem::create_directories(program / "Pro|gram/Samples");
    test::WriteFile(program / "Pro|gram/Samples/d.txt", "x");
    EXPECT_EQ(SampleListText(program / "Pro|gram"), "");
}

TEST(SampleFiles, ListPathsSplitAtEveryBar) {
    EXPECT_TRUE(SampleListPaths("").empty());
    EXPECT_EQ(SampleListPaths("/a"), (std::vector<std::string>{"/a"}));
    EXPECT_EQ(SampleListPaths("/a||/b|"), (std::vector<std::string>{"/a", "", "/b", ""}));
}

}  // namespace
}  // namespace quillane
