// The reader's small tables and parsers: field codes, language identifiers, code pages.

#include <gtest/gtest.h>

#include "doclib/rtf/CodePages.h"
#include "doclib/rtf/ControlWords.h"
#include "doclib/rtf/FieldInstruction.h"
#include "doclib/rtf/LanguageTags.h"

namespace {

using namespace Tessaly::Docs::Rtf;

TEST(RtfFieldInstruction, HyperlinkTargets) {
    EXPECT_EQ(HyperlinkTarget(" HYPERLINK \"https://example.org/x?a=1\" "),
              "https://example.org/x?a=1");
    EXPECT_EQ(HyperlinkTarget("hyperlink https://example.org/bare"), "https://example.org/bare");
    EXPECT_EQ(HyperlinkTarget("HYPERLINK \\l \"_Toc12\""), "#_Toc12");
    EXPECT_EQ(HyperlinkTarget("HYPERLINK \"page.html\" \\l \"part2\" \\o \"Tip text\""),
              "page.html#part2");
    EXPECT_EQ(HyperlinkTarget("HYPERLINK \\o \"tip\" \"https://example.org\""),
              "https://example.org");
    // Field codes escape backslashes inside quotes.
    EXPECT_EQ(HyperlinkTarget("HYPERLINK \"C:\\\\Books\\\\map.html\""), "C:\\Books\\map.html");
    EXPECT_EQ(HyperlinkTarget("HYPERLINK \"unterminated"), "unterminated");
}

TEST(RtfFieldInstruction, OtherFieldsAndEmptyTargets) {
    EXPECT_FALSE(HyperlinkTarget("PAGE \\* MERGEFORMAT"));
    EXPECT_FALSE(HyperlinkTarget("HYPERLINKS \"x\""));
    EXPECT_FALSE(HyperlinkTarget(""));
    EXPECT_FALSE(HyperlinkTarget("HYPERLINK"));
    EXPECT_FALSE(HyperlinkTarget("HYPERLINK \"\""));
    EXPECT_FALSE(HyperlinkTarget("HYPERLINK \\l"));
}

TEST(RtfLanguageTags, CommonIdentifiersAndUnknownOnes) {
    EXPECT_EQ(LanguageTag(1033), "en-US");
    EXPECT_EQ(LanguageTag(2057), "en-GB");
    EXPECT_EQ(LanguageTag(1031), "de-DE");
    EXPECT_EQ(LanguageTag(1041), "ja-JP");
    EXPECT_EQ(LanguageTag(2052), "zh-CN");
    EXPECT_EQ(LanguageTag(3082), "es-ES");
    EXPECT_EQ(LanguageTag(0), "");
    EXPECT_EQ(LanguageTag(1024), "");  // "no proofing"
    EXPECT_EQ(LanguageTag(-1), "");
    EXPECT_EQ(LanguageTag(99999), "");
}

TEST(RtfControlWords, LookupIsExact) {
    EXPECT_EQ(LookupWord("par"), Word::kParagraph);
    EXPECT_EQ(LookupWord("pard"), Word::kParagraphDefault);
    EXPECT_EQ(LookupWord("pa"), Word::kUnknown);
    EXPECT_EQ(LookupWord("PAR"), Word::kUnknown);  // control words are case-sensitive
    EXPECT_EQ(LookupWord("ulwave"), Word::kUnderline);
    EXPECT_EQ(LookupWord("zwnj"), Word::kZeroWidthNonJoiner);
    EXPECT_EQ(LookupWord("aftncn"), Word::kDropped);
    EXPECT_EQ(LookupWord(""), Word::kUnknown);
    EXPECT_EQ(LookupWord(std::string(40, 'b')), Word::kUnknown);
}

TEST(RtfCodePages, CharsetsMapToTheirCodePages) {
    EXPECT_EQ(CharsetCodePage(0), 0);  // the document's own
    EXPECT_EQ(CharsetCodePage(1), 0);
    EXPECT_EQ(CharsetCodePage(128), 932);
    EXPECT_EQ(CharsetCodePage(134), 936);
    EXPECT_EQ(CharsetCodePage(136), 950);
    EXPECT_EQ(CharsetCodePage(204), 1251);
    EXPECT_EQ(CharsetCodePage(238), 1250);
}

TEST(RtfCodePages, SingleAndDoubleByteDecoding) {
    CodePageDecoder decoder;
    EXPECT_EQ(decoder.DecodeByte(1252, 'A'), U'A');
    EXPECT_EQ(decoder.DecodeByte(1252, 0x80), U'€');
    EXPECT_EQ(decoder.DecodeByte(1252, 0x81), CodePageDecoder::kInvalid);  // undefined in 1252
    EXPECT_EQ(decoder.DecodeByte(1251, 0xC0), U'А');
    EXPECT_EQ(decoder.DecodeByte(1250, 0x8A), U'Š');
    EXPECT_EQ(decoder.DecodeByte(10000, 0x8A), U'ä');
    EXPECT_EQ(decoder.DecodeByte(1252, 0x80), U'€');  // the cached answer stays right
    // Shift-JIS: katakana half-width bytes are single, 0x82 leads a pair.
    EXPECT_EQ(decoder.DecodeByte(932, 0xB1), U'ｱ');
    EXPECT_EQ(decoder.DecodeByte(932, 0x82), CodePageDecoder::kLeadByte);
    const std::uint8_t hiragana[] = {0x82, 0xA0};
    EXPECT_EQ(decoder.DecodeSequence(932, hiragana, 2), U'あ');
    const std::uint8_t bad[] = {0x82, 0x20};
    EXPECT_EQ(decoder.DecodeSequence(932, bad, 2), CodePageDecoder::kInvalid);
    EXPECT_EQ(decoder.DecodeSequence(932, bad, 2), CodePageDecoder::kInvalid);
    const std::uint8_t euro[] = {0xE2, 0x82, 0xAC};
    EXPECT_EQ(decoder.SequenceLength(65001, 0xE2), 3);
    EXPECT_EQ(decoder.DecodeSequence(65001, euro, 3), U'€');
    const std::uint8_t overlong[] = {0xC0, 0x80};
    EXPECT_EQ(decoder.DecodeSequence(65001, overlong, 2), CodePageDecoder::kInvalid);
}

TEST(RtfCodePages, PagesThatHoldALetterBackStillGiveItOut) {
    // Windows-1255 and Windows-1258 wait for a combining mark after each letter; a \'hh
    // escape is one whole character and must not be lost waiting.
    CodePageDecoder decoder;
    EXPECT_EQ(decoder.DecodeByte(1255, 0xF9), U'ש');
    EXPECT_EQ(decoder.DecodeByte(1255, 0xE0), U'א');
    EXPECT_EQ(decoder.DecodeByte(1258, 0xE2), U'â');
    EXPECT_EQ(decoder.DecodeByte(1258, 0xEC), U'\u0301');  // the combining acute itself
}

}  // namespace
