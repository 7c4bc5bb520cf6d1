#include "util/PathText.h"

#include <gtest/gtest.h>

namespace quillane {
namespace {

TEST(PathText, ValidUtf8ShowsAsItselfAndEveryPathComesBack) {
    const std::string readable = "/books/Книги/日本語/📚 notes.txt";
    EXPECT_EQ(PathToText(readable), QString::fromUtf8(readable.c_str()));
    for (const std::string& path :
         {readable, std::string("/old/caf\xe9.txt"), std::string("/x/\xff\xfe\x80"),
          std::string("/cut/\xe6\x97"), std::string("/overlong/\xc0\xaf"), std::string()}) {
        EXPECT_EQ(TextToPath(PathToText(path)), path);
    }
}

TEST(PathText, StrayBytesAreNotConfusedWithLetters) {
    EXPECT_NE(PathToText("caf\xe9"), PathToText("café"));
    EXPECT_EQ(PathToText("caf\xe9").size(), 4);
    // A lone surrogate that no stray byte makes is not a byte either.
    EXPECT_EQ(TextToPath(QString(QChar(char16_t(0xD800)))), "\xef\xbf\xbd");
}

}  // namespace
}  // namespace quillane
