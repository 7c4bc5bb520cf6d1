#include "convert/OutputPath.h"

#include <gtest/gtest.h>

namespace quillane {
namespace {

OutputChoice ToFolder(const std::string& folder) {
    return {true, false, folder};
}
OutputChoice BesideSource(const std::string& folder = "") {
    return {false, true, folder};
}

TEST(OutputPathFor, BesideTheSourceOrInTheChosenFolder) {
    EXPECT_EQ(OutputPathFor("/books/my.story.txt", BesideSource("/ignored/")),
              "/books/my.story.epub");
    EXPECT_EQ(OutputPathFor("/books/my.story.txt", ToFolder("/out/")), "/out/my.story.epub");
    EXPECT_EQ(OutputPathFor("/books/my.story.txt", ToFolder("/out")), "/out/my.story.epub");
    EXPECT_EQ(OutputPathFor("/books/my.story.txt", ToFolder("/")), "/my.story.epub");
}

TEST(OutputPathFor, OnlyTheLastExtensionOfTheNameGoes) {
    EXPECT_EQ(OutputPathFor("/b/notes", BesideSource()), "/b/notes.epub");
    EXPECT_EQ(OutputPathFor("/b/.txt", BesideSource()), "/b/.txt.epub");
    EXPECT_EQ(OutputPathFor("/b/archive.tar.gz", BesideSource()), "/b/archive.tar.epub");
    // A dot in a folder name does not count.
    EXPECT_EQ(OutputPathFor("/my.books/notes", ToFolder("/o/")), "/o/notes.epub");
}

TEST(OutputPathFor, RootAndDoubledSeparators) {
    EXPECT_EQ(OutputPathFor("/a.txt", BesideSource()), "/a.epub");
    // The join's doubled separator collapses in one pass: a run of three leaves two, which
    // names the same file.
    EXPECT_EQ(OutputPathFor("//srv/a.txt", BesideSource()), "/srv/a.epub");
    EXPECT_EQ(OutputPathFor("/b/a.txt", ToFolder("/out//")), "/out//a.epub");
}

TEST(OutputPathFor, NeitherOptionMeansTheChosenFolder) {
    const OutputChoice neither{false, false, "/out/"};
    EXPECT_TRUE(UsesChosenFolder(neither));
    EXPECT_EQ(OutputPathFor("/books/a.txt", neither), "/out/a.epub");
    EXPECT_FALSE(UsesChosenFolder(BesideSource()));
    // Both selected cannot happen with option buttons; the chosen folder wins, as it is tested
    // first.
    EXPECT_TRUE(UsesChosenFolder({true, true, "/out/"}));
}

}  // namespace
}  // namespace quillane
