#include "util/FileBytes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/TempHome.h"
#include "util/AppError.h"

namespace quillane {
namespace {

int ErrorNumberOf(const std::string& path) {
    try {
        ReadSmallFile(path);
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

TEST(FileBytes, ReadsEveryByte) {
    test::TempDir dir;
    std::string bytes("QSS\0\r\n\xff", 7);
    bytes += std::string(200000, 'x');  // more than one read
    test::WriteFile(dir / "o.cjs", bytes);
    EXPECT_EQ(ReadSmallFile(dir / "o.cjs"), bytes);
    test::WriteFile(dir / "empty", "");
    EXPECT_EQ(ReadSmallFile(dir / "empty"), "");
}

TEST(FileBytes, UnreadablePathsRaiseNumberedErrors) {
    test::TempDir dir;
    std::filesystem::create_directory(dir / "folder");
    test::WriteFile(dir / "file", "x");
    EXPECT_EQ(ErrorNumberOf(dir / "missing"), errc::kFileNotFound);
    EXPECT_EQ(ErrorNumberOf(""), errc::kFileNotFound);
    EXPECT_EQ(ErrorNumberOf(dir / "file/below"), errc::kPathNotFound);
    EXPECT_NE(ErrorNumberOf(dir / "folder"), 0);
}

TEST(FileBytes, NormalFilesAreVisibleRegularFiles) {
    test::TempDir dir;
    test::WriteFile(dir / "o.cjs", "x");
    test::WriteFile(dir / ".o.cjs", "x");
    std::filesystem::create_directory(dir / "x");
    EXPECT_TRUE(IsNormalFile(dir / "o.cjs"));
    EXPECT_FALSE(IsNormalFile(dir / ".o.cjs"));
    EXPECT_FALSE(IsNormalFile(dir / "x"));
    EXPECT_FALSE(IsNormalFile(dir / "missing"));
    EXPECT_FALSE(IsNormalFile(""));
}

}  // namespace
}  // namespace quillane
