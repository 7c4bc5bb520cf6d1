#include "util/DialogText.h"

#include <gtest/gtest.h>

namespace quillane {
namespace {

TEST(DialogText, EveryCarriageReturnIsALineBreak) {
    EXPECT_EQ(DisplayText("Type mismatch\r\nin X at line 136\r\rPlease email"),
              "Type mismatch\nin X at line 136\n\nPlease email");
    EXPECT_EQ(DisplayText("a\nb"), "a\nb");
    EXPECT_EQ(DisplayText("\r"), "\n");
    EXPECT_EQ(DisplayText("end\r\n"), "end\n");
    EXPECT_EQ(DisplayText(""), "");
}

TEST(DialogText, OpenFilterBecomesNameFilters) {
    EXPECT_EQ(NameFilters("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"),
              (std::vector<std::string>{"Text Files (*.txt)", "All Files (*)"}));
    EXPECT_EQ(NameFilters("Books|*.txt;*.text"),
              (std::vector<std::string>{"Books (*.txt *.text)"}));
    EXPECT_TRUE(NameFilters("").empty());
    // A description without a pattern still lists every file.
    EXPECT_EQ(NameFilters("Anything"), (std::vector<std::string>{"Anything (*)"}));
}

TEST(DialogText, PickedFolderKeepsOnlyTheRootSeparator) {
    EXPECT_EQ(WithoutTrailingSeparator("/"), "/");
    EXPECT_EQ(WithoutTrailingSeparator("/home/ann/books/"), "/home/ann/books");
    EXPECT_EQ(WithoutTrailingSeparator("/home/ann/books"), "/home/ann/books");
    EXPECT_EQ(WithoutTrailingSeparator("//"), "/");
    EXPECT_EQ(WithoutTrailingSeparator(""), "");
}

}  // namespace
}  // namespace quillane
