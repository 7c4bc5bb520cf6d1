#include "util/OpenDialogResult.h"

#include <gtest/gtest.h>

#include "util/AppError.h"

namespace quillane {
namespace {

using namespace std::string_literals;

TEST(ComposeOpenResult, NoFileOneFileAndSeveral) {
    EXPECT_EQ(ComposeOpenResult({}, 30000), "");
    EXPECT_EQ(ComposeOpenResult({"/home/ann/a.txt"}, 30000), "/home/ann/a.txt");
    EXPECT_EQ(ComposeOpenResult({"/home/ann/a.txt", "/home/ann/b c.txt"}, 30000),
              "/home/ann\0a.txt\0b c.txt"s);
    // The picked order stays.
    EXPECT_EQ(ComposeOpenResult({"/d/z.txt", "/d/a.txt", "/d/m.txt"}, 30000),
              "/d\0z.txt\0a.txt\0m.txt"s);
}

TEST(ComposeOpenResult, RootFolderKeepsItsSeparator) {
    EXPECT_EQ(ComposeOpenResult({"/a.txt", "/b.txt"}, 30000), "/\0a.txt\0b.txt"s);
}

TEST(ComposeOpenResult, FilesOfDifferentFoldersAreNamedFromTheSharedFolder) {
    EXPECT_EQ(ComposeOpenResult({"/books/x/a.txt", "/books/y/b.txt"}, 30000),
              "/books\0x/a.txt\0y/b.txt"s);
    EXPECT_EQ(ComposeOpenResult({"/books/a.txt", "/books/sub/b.txt"}, 30000),
              "/books\0a.txt\0sub/b.txt"s);
    // "/book" is no folder of "/books/...".
    EXPECT_EQ(ComposeOpenResult({"/book/a.txt", "/books/b.txt"}, 30000),
              "/\0book/a.txt\0books/b.txt"s);
}

TEST(ComposeOpenResult, ResultLongerThanTheBufferRaises20476) {
    const std::string path = "/" + std::string(9, 'a');  // 10 characters
    EXPECT_EQ(ComposeOpenResult({path}, 10), path);
    try {
        ComposeOpenResult({path}, 9);
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), errc::kBufferTooSmall);
    }
    // "/d" NUL "a" NUL "b" is six characters.
    EXPECT_NO_THROW(ComposeOpenResult({"/d/a", "/d/b"}, 6));
    EXPECT_THROW(ComposeOpenResult({"/d/a", "/d/b"}, 5), AppError);
}

TEST(ComposeOpenResult, BufferCountsCharactersNotBytes) {
    const std::string path = "/\xc3\xa9\xc3\xa9";  // "/éé": three characters, five bytes
    EXPECT_EQ(ComposeOpenResult({path}, 3), path);
    EXPECT_THROW(ComposeOpenResult({path}, 2), AppError);
}

}  // namespace
}  // namespace quillane
