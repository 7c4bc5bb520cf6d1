#include "filelist/FolderFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "filelist/Wildcard.h"
#include "tests/support/TempHome.h"

namespace quillane {
namespace {

namespace fs = std::filesystem;

TEST(Wildcard, MatchesAsADirectoryListingDoes) {
    EXPECT_TRUE(MatchesWildcard("a.TXT", "*.txt"));
    EXPECT_TRUE(MatchesWildcard("Notes.Txt", "*.tXt"));
    EXPECT_FALSE(MatchesWildcard("a.txt.bak", "*.txt"));
    EXPECT_FALSE(MatchesWildcard("atxt", "*.txt"));
    EXPECT_TRUE(MatchesWildcard("README", "*.*"));
    EXPECT_TRUE(MatchesWildcard(".profile", "*.*"));
    EXPECT_FALSE(MatchesWildcard("a.txt", "*..txt"));
    EXPECT_TRUE(MatchesWildcard("a..txt", "*..txt"));
    EXPECT_TRUE(MatchesWildcard("a.b.c.txt", "*.txt"));
    EXPECT_TRUE(MatchesWildcard("x1.doc", "x?.doc"));
    EXPECT_FALSE(MatchesWildcard("x12.doc", "x?.doc"));
    EXPECT_TRUE(MatchesWildcard("ГЛАВА.txt", "глава.*"));
    EXPECT_TRUE(MatchesWildcard("ÉTÉ.TXT", "été.txt"));
    EXPECT_TRUE(MatchesWildcard("bad\xff.txt", "*.txt"));
    EXPECT_FALSE(MatchesWildcard("bad\xff.txt", "bad\xfe.*"));
}

class FolderFilesTest : public ::testing::Test {
  protected:
    void File(const std::string& name) { test::WriteFile(dir / name, "x"); }
    test::TempDir dir;
};

TEST_F(FolderFilesTest, MatchingFilesInCaseInsensitiveOrder) {
    for (const char* name : {"b.txt", "D.Txt", "a.TXT", "c.doc", "e.txt.bak"}) {
        File(name);
    }
    EXPECT_EQ((GetFolderFiles(dir.path(), "*.txt")),
              (std::vector<std::string>{"a.TXT", "b.txt", "D.Txt"}));
    EXPECT_EQ((GetFolderFiles(dir.path() + "/", "*.doc")), (std::vector<std::string>{"c.doc"}));
}

TEST_F(FolderFilesTest, AllFilesIncludeHiddenOnesButNoFoldersOrDanglingLinks) {
    File(".hidden");
    File("README");
    File("~lock.txt");
    fs::create_directory(dir / "sub.txt");
    fs::create_directory_symlink(dir / "sub.txt", dir / "linked-folder");
    fs::create_symlink(dir / "README", dir / "linked-file");
    fs::create_symlink(dir / "gone", dir / "dangling");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_EQ((GetFolderFiles(dir.path(), "*.*")),
              (std::vector<std::string>{".hidden", "linked-file", "README", "~lock.txt"}));
}

TEST_F(FolderFilesTest, NoMatchOrNoFolderGivesNoNames) {
    File("a.txt");
    EXPECT_TRUE(GetFolderFiles(dir.path(), "*..txt").empty());
    EXPECT_TRUE(GetFolderFiles(dir / "missing", "*.*").empty());
    EXPECT_TRUE(GetFolderFiles(dir / "a.txt", "*.*").empty());
}

TEST_F(FolderFilesTest, ManyFilesAllArrive) {
    for (int i = 0; i < 237; ++i) {
        File("f" + std::to_string(1000 + i) + ".txt");
    }
    const std::vector<std::string> names = GetFolderFiles(dir.path(), "*.txt");
    ASSERT_EQ(names.size(), 237u);
    EXPECT_EQ(names.front(), "f1000.txt");
    EXPECT_EQ(names.back(), "f1236.txt");
}

TEST_F(FolderFilesTest, AwkwardNamesComeBackByteForByte) {
    const std::vector<std::string> names{"a \"quoted\" name.txt", "line\nbreak.txt",
                                         "not utf8 \xe9t\xe9.txt", "spaces  here .txt",
                                         "Кн\xd0иги.txt"};
    for (const auto& name : names) {
        File(name);
    }
    const auto found = GetFolderFiles(dir.path(), "*.txt");
    EXPECT_EQ(found.size(), names.size());
    for (const auto& name : names) {
        EXPECT_NE(std::find(found.begin(), found.end(), name), found.end()) << name;
    }
}

TEST_F(FolderFilesTest, NonLatinNamesSortIgnoringCase) {
    for (const char* name : {"в.txt", "Б.txt", "а.txt", "Ä.txt", "z.txt"}) {
        File(name);
    }
    EXPECT_EQ((GetFolderFiles(dir.path(), "*.TXT")),
              (std::vector<std::string>{"z.txt", "Ä.txt", "а.txt", "Б.txt", "в.txt"}));
}

}  // namespace
}  // namespace quillane
