// ASCII letter case: A-Z and a-z fold into each other, and nothing else does.
#include "text/AsciiCase.h"

#include <gtest/gtest.h>

namespace text {
namespace {

struct CaseRow {
    std::string_view a;
    std::string_view b;
    bool equal;
    bool aStartsWithB;
    bool aEndsWithB;
};

TEST(AsciiCase, OnlyAsciiLettersFold) {
    const CaseRow rows[] = {
        {"HYPERLINK", "hyperlink", true, true, true},
        {"Notes.MD", ".md", false, false, true},
        {"HTTPS://example.org", "https://", false, true, false},
        {"", "", true, true, true},
        {"ab", "abc", false, false, false},
        // The neighbours of the letters in the code table are no letters.
        {"@[", "`{", false, false, false},
        {"`{", "@[", false, false, false},
        // Bytes beyond ASCII compare exactly: É (C3 89) and é (C3 A9), and the Latin-1 pair
        // C0/E0 that an 8-bit locale would fold.
        {"\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9", false, false, false},
        {"\xC0", "\xE0", false, false, false},
        {"\xC3\x89T\xC3\xA9", "\xC3\x89t", false, true, false},
    };
    for (const CaseRow& row : rows) {
        SCOPED_TRACE(std::string(row.a) + " | " + std::string(row.b));
        EXPECT_EQ(EqualsNoCase(row.a, row.b), row.equal);
        EXPECT_EQ(EqualsNoCase(row.b, row.a), row.equal);
        EXPECT_EQ(StartsWithNoCase(row.a, row.b), row.aStartsWithB);
        EXPECT_EQ(EndsWithNoCase(row.a, row.b), row.aEndsWithB);
    }
    EXPECT_EQ(ToLowerAscii("Zapf Dingbats \xC3\x89T\xC3\x89 [@]"),
              "zapf dingbats \xC3\x89t\xC3\x89 [@]");
}

}  // namespace
}  // namespace text
