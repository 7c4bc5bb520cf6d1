#include "filelist/NameCharacters.h"

#include <gtest/gtest.h>

namespace quillane {
namespace {

TEST(NameCharacters, UnsafeMeansControlCharactersOrAQuestionMark) {
    EXPECT_FALSE(HasUnsafeChars("Books 2021"));
    EXPECT_FALSE(HasUnsafeChars("Кириллица"));
    EXPECT_FALSE(HasUnsafeChars("日本語"));
    EXPECT_FALSE(HasUnsafeChars("\xc2\xa0nbsp"));  // U+00A0, just above the C1 range
    EXPECT_FALSE(HasUnsafeChars("stray \xff byte"));
    EXPECT_FALSE(HasUnsafeChars("\x85 lone byte"));  // the byte, not the code point U+0085
    EXPECT_TRUE(HasUnsafeChars("tab\there"));
    EXPECT_TRUE(HasUnsafeChars("line\nbreak"));
    EXPECT_TRUE(HasUnsafeChars("del\x7f"));
    EXPECT_TRUE(HasUnsafeChars("c1 \xc2\x85"));  // U+0085
    EXPECT_TRUE(HasUnsafeChars("c1 \xc2\x9f"));  // U+009F
    EXPECT_TRUE(HasUnsafeChars("why?"));
}

TEST(NameCharacters, CountsCodePointsAndStrayBytesOneEach) {
    EXPECT_EQ(CharacterCount(""), 0u);
    EXPECT_EQ(CharacterCount("abc"), 3u);
    EXPECT_EQ(CharacterCount("日本語"), 3u);
    EXPECT_EQ(CharacterCount("\xf0\x9f\x93\x9a"), 1u);  // one emoji
    EXPECT_EQ(CharacterCount("\xe6\x97"), 2u);          // a cut-off sequence
    EXPECT_EQ(CharacterCount("\xc0\xaf"), 2u);          // an overlong "/"
    EXPECT_EQ(CharacterCount("\xed\xa0\x80"), 3u);      // an encoded surrogate
}

TEST(NameCharacters, FoldingIgnoresLetterCaseOnly) {
    EXPECT_EQ(FoldedName("aBc"), FoldedName("AbC"));
    EXPECT_EQ(FoldedName("été"), FoldedName("ÉTÉ"));
    EXPECT_EQ(FoldedName("ÿ"), FoldedName("Ÿ"));
    EXPECT_EQ(FoldedName("łódź"), FoldedName("ŁÓDŹ"));
    EXPECT_EQ(FoldedName("σοφιας"), FoldedName("ΣΟΦΙΑΣ"));
    EXPECT_EQ(FoldedName("книга ёж"), FoldedName("КНИГА ЁЖ"));
    EXPECT_NE(FoldedName("a"), FoldedName("b"));
    EXPECT_NE(FoldedName("\xe9"), FoldedName("é"));  // a stray byte is not the letter
    EXPECT_NE(FoldedName("÷"), FoldedName("×"));
}

}  // namespace
}  // namespace quillane
