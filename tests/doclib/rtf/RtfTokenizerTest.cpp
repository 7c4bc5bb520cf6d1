#include "doclib/rtf/RtfTokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tessaly::Docs::Rtf::RtfTokenizer;
using Tessaly::Docs::Rtf::Token;

std::vector<Token> All(std::string_view data) {
    RtfTokenizer tokens(data);
    std::vector<Token> out;
    for (Token t = tokens.Next(); t.kind != Token::kEnd; t = tokens.Next()) {
        out.push_back(t);
    }
    return out;
}

TEST(RtfTokenizer, ControlWordTakesSignedNumberAndOneDelimitingSpace) {
    const auto tokens = All("\\li-720  x\\b0\\par\\u8364?");
    ASSERT_EQ(tokens.size(), 6u);
    EXPECT_EQ(tokens[0].text, "li");
    EXPECT_TRUE(tokens[0].hasParam);
    EXPECT_EQ(tokens[0].param, -720);
    // Only the first space delimits the word; the second is text.
    EXPECT_EQ(tokens[1].kind, Token::kText);
    EXPECT_EQ(tokens[1].text, " x");
    EXPECT_EQ(tokens[2].text, "b");
    EXPECT_EQ(tokens[2].param, 0);
    EXPECT_EQ(tokens[3].text, "par");
    EXPECT_FALSE(tokens[3].hasParam);
    EXPECT_EQ(tokens[4].param, 8364);
    EXPECT_EQ(tokens[5].text, "?");
}

TEST(RtfTokenizer, MinusWithoutDigitIsText) {
    const auto tokens = All("\\b-x");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_FALSE(tokens[0].hasParam);
    EXPECT_EQ(tokens[1].text, "-x");
}

TEST(RtfTokenizer, HugeNumbersAreClampedAndFullyConsumed) {
    const auto tokens = All("\\u99999999999999999999x\\fi-99999999999 y");
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0].param, 2147483647);
    EXPECT_EQ(tokens[1].text, "x");
    EXPECT_EQ(tokens[2].param, -2147483647);
    EXPECT_EQ(tokens[3].text, "y");
}

TEST(RtfTokenizer, OverlongWordIsReadWhole) {
    const std::string data = "\\" + std::string(40, 'a') + "1 z";
    const auto tokens = All(data);  // tokens are views into `data`
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].text.size(), 40u);
    EXPECT_EQ(tokens[1].text, "z");
}

TEST(RtfTokenizer, SymbolsHexEscapesAndLineEnds) {
    const auto tokens = All("a\r\nb\\'e9\\'E9\\'zz\\{\\\nc\x80");
    // a, b, byte, byte, (bad escape dropped) zz, symbol {, par, c, raw byte
    ASSERT_EQ(tokens.size(), 9u);
    EXPECT_EQ(tokens[0].text, "a");
    EXPECT_EQ(tokens[1].text, "b");  // line ends are not text
    EXPECT_EQ(tokens[2].kind, Token::kByte);
    EXPECT_EQ(tokens[2].byte, 0xE9);
    EXPECT_EQ(tokens[3].byte, 0xE9);
    EXPECT_EQ(tokens[4].text, "zz");
    EXPECT_EQ(tokens[5].kind, Token::kControlSymbol);
    EXPECT_EQ(tokens[5].symbol, '{');
    EXPECT_EQ(tokens[6].text, "par");  // backslash before a line end
    EXPECT_EQ(tokens[7].text, "c");
    EXPECT_EQ(tokens[8].kind, Token::kByte);
    EXPECT_EQ(tokens[8].byte, 0x80);
}

TEST(RtfTokenizer, SkipGroupPassesNestedGroupsEscapedBracesAndBinaryData) {
    // The binary data holds braces that must not count.
    const std::string data = std::string("{a\\}{b}\\bin4 }}}}") + "c}rest";
    RtfTokenizer tokens(data);
    ASSERT_EQ(tokens.Next().kind, Token::kGroupOpen);
    tokens.SkipGroup();
    const Token next = tokens.Next();
    EXPECT_EQ(next.kind, Token::kText);
    EXPECT_EQ(next.text, "rest");
}

TEST(RtfTokenizer, SkipBytesStopsAtTheEnd) {
    RtfTokenizer tokens("abc");
    tokens.SkipBytes(999999999);
    EXPECT_EQ(tokens.Next().kind, Token::kEnd);
    RtfTokenizer unchanged("abc");
    unchanged.SkipBytes(-5);
    EXPECT_EQ(unchanged.Next().text, "abc");
}

TEST(RtfTokenizer, TrailingBackslashEndsQuietly) {
    const auto tokens = All("x\\");
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].text, "x");
}

}  // namespace

namespace {

// Plain text is scanned a word at a time; every stop byte must end the run at every offset.
TEST(RtfTokenizer, TextRunsEndAtEveryStopByteWhereverItFalls) {
    const std::string stops[] = {"\\", "{", "}", "\r", "\n", "\x01", "\x7f", "\x80", "\xff"};
    for (const std::string& stop : stops) {
        for (std::size_t before = 1; before < 20; ++before) {
            const std::string data = std::string(before, 'x') + stop + "tail";
            RtfTokenizer tokens(data);
            const Token first = tokens.Next();
            ASSERT_EQ(first.kind, Token::kText);
            EXPECT_EQ(first.text.size(), before) << "stop " << int(stop[0]) << " after " << before;
        }
    }
    // A tab is text, inside the fast scan's words as well.
    const std::string tabbed = "abcdefg\thijklmnop\tq";
    EXPECT_EQ(All(tabbed).at(0).text, tabbed);
}

}  // namespace
