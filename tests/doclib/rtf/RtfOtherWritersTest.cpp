// RTF as word processors other than our staging write it: list numbers and bullets, symbol
// fonts, embedded objects, pictures after a space, and layout control characters.

#include <gtest/gtest.h>

#include "RtfTestText.h"

namespace {

using quillane::test::BlockTexts;
using quillane::test::ReadBody;
using Tessaly::Docs::BlockKind;
using Tessaly::Docs::Document;
using Tessaly::Docs::ReadRtf;

// The header of RtfDocument plus a Symbol font (3, charset 2), a font named Symbol with an
// ordinary charset (4) and a Wingdings font (5).
std::string SymbolFonts(const std::string& body) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Serif One;}"
           "{\\f3\\ftech\\fcharset2 Symbol;}{\\f4\\fnil\\fcharset0 Symbol;}"
           "{\\f5\\fnil\\fcharset2 Wingdings{\\*\\falt Dingbats};}}\n" +
           body + "}";
}

TEST(RtfOtherWriters, ListNumbersAndBulletsStayWithTheirItems) {
    const Document doc = ReadBody(
        "{\\listtext\\pard\\plain 1.\\tab}\\pard\\ls1 First\\par"
        "{\\listtext\\pard\\plain 2.\\tab}\\pard\\ls1 Second\\par"
        "{\\pntext\\f0 iii)\\tab}{\\*\\pn\\pnlvlbody\\pnlcrm{\\pntxta )}}Third\\par"
        // A writer that gives both forms of the same number: it is shown once.
        "{\\listtext 4.\\tab}{\\pntext 4.\\tab}Fourth\\par");
    EXPECT_EQ(BlockTexts(doc),
              (std::vector<std::string>{"1.\tFirst", "2.\tSecond", "iii)\tThird", "4.\tFourth"}));
}

TEST(RtfOtherWriters, ListNumbersOutsideTheTextAreDropped) {
    const Document doc = ReadRtf(
        "{\\rtf1\\ansi{\\info{\\title Plain{\\listtext 9.\\tab}}}{\\pnseclvl1\\pnucrm{\\pntxta .}}"
        "Body\\par}");
    EXPECT_EQ(doc.metadata.title, "Plain");
    EXPECT_EQ(BlockTexts(doc), std::vector<std::string>{"Body"});
}

TEST(RtfOtherWriters, SymbolFontCharactersBecomeUnicode) {
    // Bytes, 7-bit text and Word's private-use \uN, in a charset-2 font and in a font named
    // Symbol; the ordinary font around them keeps its letters.
    const Document doc =
        ReadRtf(SymbolFonts("a{\\f3 a b g D W}a\\par"
                            "{\\f4 p\\'b3\\'a5}\\par"
                            "{\\f3\\uc1\\u61537 ?\\u61623 ?}\\par"
                            "{\\f5\\'a7 \\'fc}\\par"
                            "{\\f3\\'b7}\\u61537 ?\\par"));
    EXPECT_EQ(BlockTexts(doc),
              (std::vector<std::string>{"aα β γ Δ Ωa", "π≥∞", "α•", "▪ ✓", "•\xEF\x81\xA1"}));
}

TEST(RtfOtherWriters, SymbolFontInAFontTableWithoutGroups) {
    // Names end at ';'; Word's negative \uN (U+F0B7 is -3913) reaches the same bullet.
    const Document doc = ReadRtf(
        "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\fnil Symbol;\\f2\\fnil Symbolic;}"
        "{\\f1 m}{\\f2 m}{\\f1\\u-3913 ?}\\par}");
    EXPECT_EQ(BlockTexts(doc), std::vector<std::string>{"μm•"});
}

TEST(RtfOtherWriters, SymbolBulletInAListNumber) {
    const Document doc = ReadRtf(
        SymbolFonts("{\\listtext\\pard\\plain\\f3 \\'b7\\tab}Apples\\par"
                    "{\\pntext\\f5\\'a7\\tab}{\\*\\pn\\pnlvlblt\\pnf5{\\pntxtb\\'a7}}Pears\\par"));
    EXPECT_EQ(BlockTexts(doc), (std::vector<std::string>{"•\tApples", "▪\tPears"}));
}

TEST(RtfOtherWriters, ObjectsShowTheirResult) {
    const Document doc = ReadBody(
        "Before {\\object\\objemb{\\*\\objclass Paint}{\\objdata 0102abcd}"
        "{\\result{\\pict\\wmetafile8 0102}Shown {\\b text}}} after\\par"
        "{\\object\\objemb{\\*\\objdata 0a0b}} only\\par");
    EXPECT_EQ(BlockTexts(doc), (std::vector<std::string>{"Before Shown text after", " only"}));
    EXPECT_EQ(doc.spans.at(1).format, Tessaly::Docs::kBold);
}

TEST(RtfOtherWriters, SpaceBeforeADestinationIsNotText) {
    const Document doc = ReadBody(
        "Map{ \\pict\\pngblip 89504e47}{  \\*\\shppict{\\pict 0100}}{ \\*\\unknowndest junk}"
        "{ \\fldrslt}.\\par "
        // Before anything that is not a destination the space is text.
        "x{ \\b bold}{ }y\\par");
    EXPECT_EQ(BlockTexts(doc), (std::vector<std::string>{"Map.", "x bold y"}));
}

TEST(RtfOtherWriters, FormFeedIsAPageBreakAndVerticalTabALineBreak) {
    const Document doc =
        ReadBody("stormy\\'0cnight and\\'0bday\\par{\\uc0 one\\u12 two\\u11 three}\\par");
    ASSERT_EQ(doc.blocks.size(), 6u);
    EXPECT_EQ(doc.BlockText(doc.blocks[0]), "stormy");
    EXPECT_EQ(doc.blocks[1].kind, BlockKind::PageBreak);
    EXPECT_EQ(doc.BlockText(doc.blocks[2]), "night and\nday");
    EXPECT_EQ(doc.BlockText(doc.blocks[3]), "one");
    EXPECT_EQ(doc.blocks[4].kind, BlockKind::PageBreak);
    EXPECT_EQ(doc.BlockText(doc.blocks[5]), "two\nthree");
}

TEST(RtfOtherWriters, WordProcessorFileWithListsSymbolsAndObjects) {
    const Document doc = Tessaly::Docs::ReadRtfFile(RTF_TEST_DATA "/other-writers.rtf");
    EXPECT_EQ(doc.metadata.title, "Ferry Timetable Notes");
    EXPECT_EQ(BlockTexts(doc),
              (std::vector<std::string>{"Things to pack for the crossing:", "1.\tTide tables",
                                        "2.\tA warm coat", "•\tBread and cheese", "▪\tRope",
                                        "The angle α is smaller than β, and π≈3.14.",
                                        "Chart below:Harbour depth 12 m", "Map: end of page."}));
}

}  // namespace
