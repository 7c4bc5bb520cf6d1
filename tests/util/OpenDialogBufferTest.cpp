#include "util/OpenDialogBuffer.h"

#include <gtest/gtest.h>

#include "util/AppError.h"

namespace quillane {
namespace {

using namespace std::string_literals;

// Each selection against the result the dialog would fill its buffer with.
TEST(OpenResultLength, CountsWhatTheDialogsResultWouldHold) {
    const struct {
        std::vector<std::string> paths;
        std::string result;
    } cases[] = {
        {{}, ""},
        {{"/home/ann/a.txt"}, "/home/ann/a.txt"},
        {{"/home/ann/a.txt", "/home/ann/b c.txt"}, "/home/ann\0a.txt\0b c.txt"s},
        // The root keeps its separator.
        {{"/a.txt", "/b.txt"}, "/\0a.txt\0b.txt"s},
        // Files of different folders are named from the folder they share.
        {{"/books/x/a.txt", "/books/y/b.txt"}, "/books\0x/a.txt\0y/b.txt"s},
        {{"/books/a.txt", "/books/sub/b.txt"}, "/books\0a.txt\0sub/b.txt"s},
        // "/book" is no folder of "/books/...".
        {{"/book/a.txt", "/books/b.txt"}, "/\0book/a.txt\0books/b.txt"s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OpenResultLength(c.paths), c.result.size()) << c.paths.size();
    }
}

TEST(CheckOpenBuffer, ResultLongerThanTheBufferRaises20476) {
    const std::string path = "/" + std::string(9, 'a');  // 10 characters
    EXPECT_NO_THROW(CheckOpenBuffer({path}, 10));
    try {
        CheckOpenBuffer({path}, 9);
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), errc::kBufferTooSmall);
    }
    // "/d" NUL "a" NUL "b" is six characters.
    EXPECT_NO_THROW(CheckOpenBuffer({"/d/a", "/d/b"}, 6));
    EXPECT_THROW(CheckOpenBuffer({"/d/a", "/d/b"}, 5), AppError);
}

TEST(CheckOpenBuffer, CountsCharactersNotBytes) {
    const std::string path = "/\xc3\xa9\xc3\xa9";  // "/éé": three characters, five bytes
    EXPECT_NO_THROW(CheckOpenBuffer({path}, 3));
    EXPECT_THROW(CheckOpenBuffer({path}, 2), AppError);
    // Names within a shared folder are counted the same way: "/d" NUL "é" NUL "é".
    EXPECT_NO_THROW(CheckOpenBuffer({"/d/\xc3\xa9", "/d/\xc3\xa9"}, 6));
    EXPECT_THROW(CheckOpenBuffer({"/d/\xc3\xa9", "/d/\xc3\xa9"}, 5), AppError);
}

}  // namespace
}  // namespace quillane
