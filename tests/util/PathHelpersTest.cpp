#include "util/PathHelpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/TempHome.h"

namespace quillane {
namespace {

TEST(PathHelpers, FileNameOfTakesThePartAfterTheLastSeparator) {
    EXPECT_EQ(FileNameOf("a.txt"), "a.txt");
    EXPECT_EQ(FileNameOf("/home/ann/books/a.txt"), "a.txt");
    EXPECT_EQ(FileNameOf("/home/ann/dir/"), "");
    EXPECT_EQ(FileNameOf(""), "");
    EXPECT_EQ(FileNameOf("/"), "");
}

TEST(PathHelpers, FolderOfKeepsTheTrailingSeparator) {
    EXPECT_EQ(FolderOf("a.txt"), "");
    EXPECT_EQ(FolderOf("/home/ann/books/a.txt"), "/home/ann/books/");
    EXPECT_EQ(FolderOf("/srv/share/a.txt"), "/srv/share/");
    EXPECT_EQ(FolderOf("/a.txt"), "/");
    EXPECT_EQ(FolderOf(""), "");
}

TEST(PathHelpers, StripExtensionRemovesOnlyTheLastExtension) {
    EXPECT_EQ(StripExtension("archive.tar.gz"), "archive.tar");
    EXPECT_EQ(StripExtension("a.b.txt"), "a.b");
    EXPECT_EQ(StripExtension("README"), "README");
    EXPECT_EQ(StripExtension(".profile"), ".profile");
    EXPECT_EQ(StripExtension("notes."), "notes");
    EXPECT_EQ(StripExtension(""), "");
}

TEST(PathHelpers, NormalizePathCollapsesPairsInOnePass) {
    EXPECT_EQ(NormalizePath("/books//a.epub"), "/books/a.epub");
    EXPECT_EQ(NormalizePath("a///b"), "a//b");   // three become two
    EXPECT_EQ(NormalizePath("a////b"), "a//b");  // four become two
    EXPECT_EQ(NormalizePath("a/b"), "a/b");
    EXPECT_EQ(NormalizePath(""), "");
}

TEST(PathHelpers, NormalizePathKeepsOneLeadingSeparator) {
    EXPECT_EQ(NormalizePath("//srv//share//a.epub"), "/srv/share/a.epub");
    EXPECT_EQ(NormalizePath("///dir//a"), "/dir/a");
    EXPECT_EQ(NormalizePath("/dir/a"), "/dir/a");
    EXPECT_EQ(NormalizePath("//"), "/");
    // A folder box ending in "/" joined with another "/" and a name.
    EXPECT_EQ(NormalizePath(std::string("/home/ann/Desktop/") + "/" + "a.epub"),
              "/home/ann/Desktop/a.epub");
}

TEST(PathHelpers, AbsolutePathJoinsARelativePathToTheWorkingFolder) {
    const struct {
        const char* path;
        const char* workingFolder;
        const char* absolute;
    } cases[] = {
        {"Books", "/home/ann", "/home/ann/Books"},
        {"Books/", "/home/ann", "/home/ann/Books/"},
        {".", "/home/ann", "/home/ann/"},
        {"./", "/home/ann/", "/home/ann/"},
        {"./Books/./new", "/home/ann", "/home/ann/Books/new"},
        {"../shared", "/home/ann", "/home/ann/../shared"},
        {"Books", "/", "/Books"},
        {".", "/", "/"},
        // Absolute and empty paths are left alone; without a working folder nothing is made.
        {"/srv/out/", "/home/ann", "/srv/out/"},
        {"", "/home/ann", ""},
        {"Books", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AbsolutePath(c.path, c.workingFolder), c.absolute)
            << "\"" << c.path << "\" in " << c.workingFolder;
    }
}

TEST(PathHelpers, ExistenceProbesNeverThrowAndTellFilesFromFolders) {
    test::TempDir dir;
    test::WriteFile(dir / "a.txt", "x");
    std::filesystem::create_directory(dir / "sub");

    EXPECT_TRUE(FileExists(dir / "a.txt"));
    EXPECT_FALSE(FileExists(dir / "missing.txt"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(dir / "a.txt/inside"));

    EXPECT_EQ(FolderExists(dir / "a.txt"), std::optional<bool>(false));
    EXPECT_EQ(FolderExists(dir / "missing"), std::nullopt);
    EXPECT_EQ(FolderExists(""), std::nullopt);
    EXPECT_EQ(FolderExists(dir / "sub"), std::optional<bool>(true));
    EXPECT_EQ(FolderExists(dir / "sub/"), std::optional<bool>(true));
    EXPECT_TRUE(IsFolder(dir / "sub"));
    EXPECT_FALSE(IsFolder(dir / "missing"));
}

TEST(PathHelpers, ShortenedTitleDropsLastWordsDownToFortyCharacters) {
    // A one-word product name stays whole.
    EXPECT_EQ(ShortenedTitle("Quillane"), "Quillane");
    EXPECT_EQ(ShortenedTitle("Quillane Text Converter"), "Quillane Text");
    // 45 characters after the first removal: one more word goes.
    EXPECT_EQ(ShortenedTitle("Quillane Batch Text To Electronic Book Maker Pro Edition"),
              "Quillane Batch Text To Electronic Book");
    // A first word longer than 40 characters alone is kept rather than emptied.
    const std::string longWord(45, 'q');
    EXPECT_EQ(ShortenedTitle(longWord + " Suite"), longWord);
    EXPECT_EQ(ShortenedTitle(""), "");
}

TEST(PathHelpers, TempFolderIsReadAfreshAtEveryCall) {
    const char* oldTemp = std::getenv("TEMP");
    const std::string savedTemp = oldTemp ? oldTemp : "";
    const char* oldTmpdir = std::getenv("TMPDIR");
    const std::string savedTmpdir = oldTmpdir ? oldTmpdir : "";

    setenv("TEMP", "/var/tmp/one", 1);
    EXPECT_EQ(TempFolder(), "/var/tmp/one");
    setenv("TEMP", "/var/tmp/two", 1);
    EXPECT_EQ(TempFolder(), "/var/tmp/two");
    unsetenv("TEMP");
    setenv("TMPDIR", "/var/tmp/three", 1);
    EXPECT_EQ(TempFolder(), "/var/tmp/three");
    unsetenv("TMPDIR");
    EXPECT_EQ(TempFolder(), "/tmp");

    if (oldTemp) {
        setenv("TEMP", savedTemp.c_str(), 1);
    }
    if (oldTmpdir) {
        setenv("TMPDIR", savedTmpdir.c_str(), 1);
    }
}

}  // namespace
}  // namespace quillane
