#include "text/TextDecoder.h"

#include <gtest/gtest.h>

#include "tests/convert/SampleTexts.h"
#include "text/Utf8.h"
#include "text/Windows1252.h"

namespace text {
namespace {

namespace test = quillane::test;
using test::Encode;
using utf8::IsValidUtf8;

struct EncodedSample {
    const char* encoding;
    const std::string* text;
};

class DecodeEncodingTest : public testing::TestWithParam<EncodedSample> {};

TEST_P(DecodeEncodingTest, EveryCharacterComesBack) {
    const auto& sample = GetParam();
    const DecodedText decoded = DecodeText(Encode(*sample.text, sample.encoding));
    EXPECT_EQ(decoded.utf8, *sample.text) << "read as " << decoded.encoding;
}

INSTANTIATE_TEST_SUITE_P(EightBitAndMultiByte, DecodeEncodingTest,
                         testing::Values(EncodedSample{"WINDOWS-1251", &test::kRussianText},
                                         EncodedSample{"KOI8-R", &test::kRussianText},
                                         EncodedSample{"ISO-8859-2", &test::kCzechText},
                                         EncodedSample{"SHIFT_JIS", &test::kJapaneseText},
                                         EncodedSample{"GB18030", &test::kChineseText},
                                         EncodedSample{"WINDOWS-1252", &test::kFrenchText},
                                         EncodedSample{"UTF-16",
                                                       &test::kRussianText},  // iconv writes a BOM
                                         EncodedSample{"UTF-16", &test::kJapaneseText}),
                         [](const auto& param_info) {
                             std::string name = param_info.param.encoding;
                             for (char& c : name) {
                                 if (c == '-')
                                     c = '_';
                             }
                             return name + "_" + std::to_string(param_info.index);
                         });

TEST(DecodeText, ByteOrderMarksAreHonouredAndDropped) {
    const std::string text = "Zoé écrit — “deux”\n";
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF" + text).utf8, text);
    EXPECT_EQ(DecodeText("\xFF\xFE" + Encode(text, "UTF-16LE")).utf8, text);
    EXPECT_EQ(DecodeText("\xFE\xFF" + Encode(text, "UTF-16BE")).utf8, text);
    EXPECT_EQ(DecodeText(std::string("\xFF\xFE\0\0", 4) + Encode(text, "UTF-32LE")).utf8, text);
    EXPECT_EQ(DecodeText(std::string("\0\0\xFE\xFF", 4) + Encode(text, "UTF-32BE")).utf8, text);
}

TEST(DecodeText, Utf16WithoutMarkIsRecognisedByItsZeroBytes) {
    const std::string text = "A plain English line, long enough to be judged.\n";
    EXPECT_EQ(DecodeText(Encode(text, "UTF-16LE")).utf8, text);
    EXPECT_EQ(DecodeText(Encode(text, "UTF-16BE")).utf8, text);
}

TEST(DecodeText, CharactersBeyondTheBasicPlaneSurviveUtf16) {
    const std::string text = "Clef \xF0\x9D\x84\x9E and emoji \xF0\x9F\x98\x80.";
    EXPECT_EQ(DecodeText("\xFF\xFE" + Encode(text, "UTF-16LE")).utf8, text);
    // A lone surrogate is replaced, not dropped.
    const std::string lone(
        "\xFF\xFE"
        "a\0\x00\xD8"
        "b\0",
        8);
    EXPECT_EQ(DecodeText(lone).utf8,
              "a\xEF\xBF\xBD"
              "b");
}

TEST(DecodeText, ValidUtf8StaysAsItIs) {
    const std::string text = test::kChineseText + test::kRussianText;
    const DecodedText decoded = DecodeText(text);
    EXPECT_EQ(decoded.utf8, text);
    EXPECT_EQ(decoded.encoding, "UTF-8");
}

TEST(DecodeText, UnsureGuessFallsBackToWindows1252WithoutLoss) {
    // Two stray high bytes in English give the detector nothing to go on.
    const std::string bytes = "Price: 20\x80, caf\xE9.";
    EXPECT_EQ(DecodeText(bytes).utf8, "Price: 20€, café.");
    // The five bytes Windows-1252 leaves undefined keep their C1 code points.
    EXPECT_EQ(FromWindows1252("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(DecodeText, BrokenUtf8AfterAMarkKeepsEveryByte) {
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF"
                         "ok \xE9t\xC3\xA9")
                  .utf8,
              "ok ét\xC3\xA9");
}

TEST(IsValidUtf8, RejectsOverlongSurrogatesAndTruncation) {
    EXPECT_TRUE(IsValidUtf8("plain ascii that is longer than eight bytes"));
    EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("abcdefgh\xE2\x82"));  // cut short after an ASCII run
}

}  // namespace
}  // namespace text
