#include "util/FileBytes.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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

// A skin or pointer image that is a pipe or a device must not freeze the start.
TEST(FileBytes, APipeOrDeviceIsRefusedWithItsReasonAndReadsAreBounded) {
    test::TempDir dir;
    ASSERT_EQ(mkfifo((dir / "HAND-M.CUR").c_str(), 0600), 0);
    const auto reasonOf = [](const std::string& path, std::uint64_t limit) -> std::string {
        try {
            ReadSmallFile(path, limit);
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), errc::kDeviceIo);
            return e.description();
        }
        return "read";
    };
    EXPECT_EQ(reasonOf(dir / "HAND-M.CUR", kSmallFileLimit),
              "It is a named pipe, not a regular file");
    EXPECT_EQ(reasonOf("/dev/zero", kSmallFileLimit), "It is a device, not a regular file");
    test::WriteFile(dir / "drag.ico", std::string(5000, 'i'));
    EXPECT_EQ(reasonOf(dir / "drag.ico", 4999), "It is larger than 4999 bytes");
    EXPECT_EQ(reasonOf(dir / "drag.ico", 5000), "read");
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
