// Text decoding and destinations: what reaches the book's text, and in which characters.

#include <gtest/gtest.h>

#include "RtfTestText.h"

namespace {

using quillane::test::BlockTexts;
using quillane::test::BodyText;
using quillane::test::ReadBody;
using Tessaly::Docs::Document;
using Tessaly::Docs::ReadRtf;

TEST(RtfText, GroupsRestoreFormattingAtTheirEnd) {
    const Document doc = ReadBody("a{\\b b{\\i c}d}e\\par");
    ASSERT_EQ(doc.blocks.size(), 1u);
    ASSERT_EQ(doc.spans.size(), 5u);
    const std::uint8_t expected[] = {Tessaly::Docs::kPlain, Tessaly::Docs::kBold,
                                     Tessaly::Docs::kBold | Tessaly::Docs::kItalic,
                                     Tessaly::Docs::kBold, Tessaly::Docs::kPlain};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(doc.spans[i].format, expected[i]) << "span " << i;
        EXPECT_EQ(doc.SpanText(doc.spans[i]), std::string(1, static_cast<char>('a' + i)));
    }
}

TEST(RtfText, UnicodeFallbackSkipFollowsUcAndIsScopedToTheGroup) {
    // \uc2 inside the group skips two fallback bytes; after the group the default of 1 holds.
    const Document doc = ReadBody("{\\uc2\\u8364\\'80\\'80x}\\u8364?y\\uc0\\u8364 z\\par");
    EXPECT_EQ(BodyText(doc),
              "\xE2\x82\xAC"
              "x"
              "\xE2\x82\xAC"
              "y"
              "\xE2\x82\xAC"
              "z");
}

TEST(RtfText, UnicodeFallbackCountsEscapesAndWordsButNeverAnotherUnicodeCharacter) {
    // \uc2: \'e9 and \emdash are the two fallback characters of \u233.
    EXPECT_EQ(BodyText(ReadBody("\\uc2\\u233\\'e9\\emdash x\\par")), "\xC3\xA9x");
    // Fallbacks announced but not written: each \uN is still its own character.
    EXPECT_EQ(BodyText(ReadBody("\\u1055\\u1088\\u1080?\\par")), "При");
}

TEST(RtfText, UnicodeFallbackEndsAtAGroupBoundary) {
    const Document doc = ReadBody("\\uc3\\u233{x}y\\par");
    EXPECT_EQ(BodyText(doc), "\xC3\xA9xy");
}

TEST(RtfText, NegativeUnicodeValuesAndSurrogatePairs) {
    // \u-3 is U+FFFD; \u-10179\u-8704 is the pair D83D DE00 (U+1F600).
    const Document doc = ReadBody("\\u-3?\\u-10179?\\u-8704?\\u55357?\\u56832?\\par");
    EXPECT_EQ(BodyText(doc), "\xEF\xBF\xBD\xF0\x9F\x98\x80\xF0\x9F\x98\x80");
}

TEST(RtfText, LoneSurrogatesAndControlCharactersAreDropped) {
    const Document doc = ReadBody("a\\u-10179?b\\u-8960?c\\u7?d\\'07e\\u0?f\\par");
    EXPECT_EQ(BodyText(doc), "abcdef");
}

TEST(RtfText, EightBitEscapesFollowTheDocumentCodePage) {
    EXPECT_EQ(BodyText(ReadBody("caf\\'e9 \\'80\\'96\\par")),
              "caf\xC3\xA9 \xE2\x82\xAC\xE2\x80\x93");
    const Document cyrillic =
        ReadRtf("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par}");
    EXPECT_EQ(BodyText(cyrillic), "Привет");
}

TEST(RtfText, FontCharsetSwitchesTheCodePage) {
    // \f1 is a Cyrillic font, \f0 the document's Latin one: the same byte reads differently.
    const Document doc = ReadBody("\\f1\\'c4{\\f0\\'c4}\\'c4\\plain\\'c4\\par");
    EXPECT_EQ(BodyText(doc), "ДÄДÄ");
}

TEST(RtfText, FontCodePageOverridesCharset) {
    const Document doc = ReadRtf(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg1253 Greek Face;}}\\f0\\'e1\\'e2\\par}");
    EXPECT_EQ(BodyText(doc), "αβ");
}

TEST(RtfText, DoubleByteCodePagesJoinTwoEscapesIntoOneCharacter) {
    // Shift-JIS through the font's charset 128: \'82\'a0 is HIRAGANA A, \'93\'fa\'96\'7b
    // "Japan".
    EXPECT_EQ(BodyText(ReadBody("\\f2\\'82\\'a0\\'93\\'fa\\'96\\'7b\\par")), "あ日本");
    const Document gbk =
        ReadRtf("{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4 ok\\par}");  // "Chinese"
    EXPECT_EQ(BodyText(gbk), "中文 ok");
    const Document big5 = ReadRtf("{\\rtf1\\ansi\\ansicpg950 \\'a4\\'a4\\par}");
    EXPECT_EQ(BodyText(big5), "中");
    const Document korean = ReadRtf("{\\rtf1\\ansi\\ansicpg949 \\'c7\\'d1\\par}");
    EXPECT_EQ(BodyText(korean), "한");
}

TEST(RtfText, DoubleByteTrailWrittenAsPlainTextOrEscapedSymbol) {
    EXPECT_EQ(BodyText(ReadBody("\\f2\\'96\\{ x\\par")), "本 x");  // trail 0x7B as \{
    EXPECT_EQ(BodyText(ReadBody("\\f2\\'83A\\par")), "ア");        // trail as plain text
    EXPECT_EQ(BodyText(ReadBody("\\f2\\'96{x}\\par")), "x");       // lead alone: dropped
    EXPECT_EQ(BodyText(ReadBody("\\f2\\'95\\\\\\par")), "表");     // trail 0x5C as \\ .
}

TEST(RtfText, RawEightBitBytesAndUtf8CodePage) {
    EXPECT_EQ(BodyText(ReadBody("na\xEFve\\par")), "na\xC3\xAFve");
    const Document utf8 = ReadRtf("{\\rtf1\\ansi\\ansicpg65001 \\'e2\\'82\\'ac \xC3\xA9\\par}");
    EXPECT_EQ(BodyText(utf8), "\xE2\x82\xAC \xC3\xA9");
}

TEST(RtfText, UnknownCodePageReadsAsWindowsLatin) {
    EXPECT_EQ(BodyText(ReadRtf("{\\rtf1\\ansi\\ansicpg77777 \\'e9\\par}")), "\xC3\xA9");
}

TEST(RtfText, SymbolsAndCharacterWords) {
    const Document doc = ReadBody(
        "\\{x\\}\\\\\\~\\-\\_\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\par");
    EXPECT_EQ(BodyText(doc), "{x}\\\u00A0\u2011\u2014\u2013\u2018\u2019\u201C\u201D\u2022");
}

TEST(RtfText, BinaryDataIsSkippedAlsoInsideSkippedDestinations) {
    // The binary data holds braces and a backslash; read as RTF they would end the document.
    const std::string body =
        std::string("a{\\*\\unknown \\bin6 }}{\\x}b}c") + "{\\pict\\bin3 }}}d}e\\bin2 }}f\\par";
    EXPECT_EQ(BodyText(ReadBody(body)),
              "a"
              "c"
              "e"
              "f");
}

TEST(RtfText, UnknownIgnorableDestinationsAreSkippedButUnknownWordsAreNot) {
    const Document doc =
        ReadBody("{\\*\\generatorx Some Writer 1.0;}one {\\*\\x{\\y nested}} \\foo two\\par");
    EXPECT_EQ(BodyText(doc), "one  two");
}

TEST(RtfText, DroppedDestinationsLeaveNoText) {
    const Document doc = ReadBody(
        "{\\colortbl;\\red0\\green0\\blue0;}{\\header Running head\\par}{\\footer Page\\par}"
        "{\\*\\themedata 504b0304}{\\pict\\pngblip 89504e47}{\\*\\pn\\pndec{\\pntxta .}}Item"
        "{\\*\\bkmkstart mark}{\\*\\bkmkend mark}{\\nonshppict{\\pict 00}}\\par");
    EXPECT_EQ(BlockTexts(doc), std::vector<std::string>{"Item"});
}

TEST(RtfText, FontTableAndStyleSheetDoNotLeakText) {
    const Document doc = ReadRtf(
        "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Plain Face;\\f1\\froman{\\*\\panose 0}Other;}"
        "{\\stylesheet{\\s0 Normal;}{\\*\\cs10 Default Paragraph Font;}{\\s1 heading 1;}}"
        "Body\\par}");
    EXPECT_EQ(BlockTexts(doc), std::vector<std::string>{"Body"});
}

TEST(RtfText, InfoGivesTitleAuthorSubjectAndComment) {
    const Document doc = ReadRtf(
        "{\\rtf1\\ansi\\ansicpg1252{\\info{\\title  The Salt Road }{\\author Ines K\\'f6rber}"
        "{\\subject Travel}{\\doccomm Notes\\par more}{\\operator someone}{\\creatim\\yr2020}"
        "{\\*\\company Unseen}}Text\\par}");
    EXPECT_EQ(doc.metadata.title, "The Salt Road");
    EXPECT_EQ(doc.metadata.author, "Ines Körber");
    EXPECT_EQ(doc.metadata.subject, "Travel");
    EXPECT_EQ(doc.metadata.description, "Notes more");
    EXPECT_EQ(BlockTexts(doc), std::vector<std::string>{"Text"});
}

TEST(RtfText, UnicodePairReadsOnlyTheUnicodeTwin) {
    const Document doc = ReadRtf(
        "{\\rtf1\\ansi{\\info{\\upr{\\title Caf? ansi}{\\*\\ud{\\title Caf\\u233?}}}}x\\par}");
    EXPECT_EQ(doc.metadata.title, "Café");
    EXPECT_EQ(BodyText(doc), "x");
}

TEST(RtfText, HiddenTextIsNotPartOfTheBook) {
    EXPECT_EQ(BodyText(ReadBody("seen{\\v hidden} again\\v  gone\\v0 !\\par")), "seen again!");
}

TEST(RtfText, TabsLineBreaksAndSpacesKeptExactly) {
    const Document doc = ReadBody("  two leading\\tab tab\\line next\tline\\par");
    EXPECT_EQ(BodyText(doc), "  two leading\ttab\nnext\tline");
}

}  // namespace
