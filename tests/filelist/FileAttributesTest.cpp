#include "filelist/FileAttributes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "filelist/FileProbe.h"
#include "tests/support/TempHome.h"

namespace quillane {
namespace {

namespace fs = std::filesystem;

class FileAttributesTest : public ::testing::Test {
  protected:
    std::string File(const std::string& name, mode_t mode = 0644) {
        test::WriteFile(dir / name, "x");
        ::chmod((dir / name).c_str(), mode);
        return dir / name;
    }
    test::TempDir dir;
};

TEST_F(FileAttributesTest, WholeValuesFromWhatTheFileSystemKnows) {
    EXPECT_EQ(FileAttributes(File("plain.txt")), 32);
    EXPECT_EQ(FileAttributes(File(".hidden.txt")), 34);
    EXPECT_EQ(FileAttributes(File("locked.txt", 0444)), 33);
    EXPECT_EQ(FileAttributes(File(".locked", 0444)), 35);
    fs::create_directory(dir / "folder");
    fs::create_directory(dir / ".config");
    EXPECT_EQ(FileAttributes(dir / "folder"), 16);
    EXPECT_EQ(FileAttributes(dir / "folder/"), 16);
    EXPECT_EQ(FileAttributes(dir / ".config/"), 18);
    fs::create_symlink(dir / "plain.txt", dir / "file-link");
    fs::create_directory_symlink(dir / "folder", dir / "folder-link");
    fs::create_symlink(dir / "gone", dir / "dangling");
    EXPECT_EQ(FileAttributes(dir / "file-link"), 1024 + 32);
    EXPECT_EQ(FileAttributes(dir / "folder-link"), 1024 + 16);
    EXPECT_EQ(FileAttributes(dir / "dangling"), 1024);
    EXPECT_EQ(FileAttributes(dir / "missing"), std::nullopt);
    EXPECT_EQ(FileAttributes(""), std::nullopt);
}

TEST_F(FileAttributesTest, ExistingFileMeansARegularFileThatOpens) {
    EXPECT_TRUE(IsExistingFile(File("a.txt")));
    // No access is asked for, so a file nobody may read still exists.
    EXPECT_TRUE(IsExistingFile(File("unreadable.txt", 0)));
    fs::create_directory(dir / "folder");
    fs::create_symlink(dir / "a.txt", dir / "link");
    fs::create_symlink(dir / "gone", dir / "dangling");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_TRUE(IsExistingFile(dir / "link"));
    EXPECT_FALSE(IsExistingFile(dir / "folder"));
    EXPECT_FALSE(IsExistingFile(dir / "dangling"));
    EXPECT_FALSE(IsExistingFile(dir / "pipe"));  // opening it must not hang the walk
    EXPECT_FALSE(IsExistingFile(dir / "missing"));
    EXPECT_FALSE(IsExistingFile(""));
    EXPECT_FALSE(IsExistingFile("/dev/null"));
}

}  // namespace
}  // namespace quillane
