// The one UTF-8 policy, case folding and the character-at-a-time converter.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/convert/SampleTexts.h"
#include "text/EncodingConversion.h"
#include "text/TextDecoder.h"
#include "text/Utf8.h"
#include "text/Utf8Text.h"

namespace text {
namespace {

TEST(Utf8Policy, InvalidBytesReadAsWindows1252OneAtATime) {
    const std::string bytes = "a\xE9z\x80\xC3";
    std::string decoded;
    for (std::size_t i = 0; i < bytes.size();) {
        const utf8::CodePoint cp = utf8::DecodeAt(bytes, i);
        EXPECT_EQ(cp.length, 1u);
        utf8::Append(decoded, cp.value);
        i += cp.length;
    }
    EXPECT_EQ(decoded, "aéz€Ã");
    EXPECT_EQ(utf8::ToValidUtf8(bytes), decoded);
    EXPECT_EQ(utf8::CountCodePoints(bytes), 5u);
    // Backwards, a stray continuation byte is one character too.
    EXPECT_EQ(utf8::DecodeBefore("ab\x80", 3).value, U'€');
    EXPECT_EQ(utf8::DecodeBefore("a\xC3\xA9", 3).value, U'é');
}

TEST(Utf8Policy, MostlyValidUtf8KeepsEveryValidCharacter) {
    // A text pasted together: valid UTF-8 with two stray Latin-1 bytes.
    const std::string good = quillane::test::kFrenchText + quillane::test::kRussianText;
    std::string damaged = good;
    damaged.insert(20, "\xE9");
    damaged.insert(200, "\xFF");
    const DecodedText decoded = DecodeText(damaged);
    EXPECT_EQ(decoded.encoding, "UTF-8");
    std::string expected = good;
    expected.insert(20, "é");
    expected.insert(201, "ÿ");
    EXPECT_EQ(decoded.utf8, expected);
}

TEST(Utf8Policy, ValidationRejectsOverlongFormsWherever) {
    EXPECT_EQ(utf8::ValidPrefixLength("abcdefghij\xC0\xAF"), 10u);
    EXPECT_EQ(utf8::ValidPrefixLength("\xE2\x82\xAC\xED\xA0\x80"), 3u);
    EXPECT_TRUE(utf8::IsValidUtf8(""));
}

TEST(CaseFolding, FollowsUnicodeAndKeepsByteLengths) {
    std::string folded;
    utf8::FoldCaseInto("ÇAĞRI Ωmega ЁЛКА Ǆ", folded);
    EXPECT_EQ(folded, "çağri ωmega ёлка ǆ");
    // The Kelvin sign would fold to a one-byte "k": it stays, so offsets still match.
    utf8::FoldCaseInto("\xE2\x84\xAA", folded);
    EXPECT_EQ(folded.size(), 3u);
    utf8::FoldCaseInto("A\xFFZ", folded);
    EXPECT_EQ(folded, "a\xFFz");
    // Long stretches of ASCII, with the neighbours of A and Z ('@', '[') left alone.
    utf8::FoldCaseInto("The QUICK @[`{ Brown FOX, Jumps! AZ@Z[A", folded);
    EXPECT_EQ(folded, "the quick @[`{ brown fox, jumps! az@z[a");
    EXPECT_TRUE(utf8::IsUpper(U'Ş'));
    EXPECT_TRUE(utf8::IsLower(U'ş'));
    EXPECT_TRUE(utf8::IsLetter(U'ก'));  // Thai
    EXPECT_TRUE(utf8::IsLetter(U'ा'));  // a Devanagari vowel sign belongs to its word
    EXPECT_FALSE(utf8::IsLetter(U'€'));
}

TEST(CaseFolding, APrefixIsTheStartOfTheWholeFold) {
    const std::string line = "ÇAĞRI Ωmega \xFF ЁЛКА";
    std::string whole;
    utf8::FoldCaseInto(line, whole);
    // Cuts at a character's edge, inside one (its bytes folded whole), at an invalid byte, and
    // past the end.
    for (const std::size_t bytes : {0u, 1u, 2u, 3u, 12u, 14u, 15u, 16u, 100u}) {
        std::string prefix = "left over";
        utf8::FoldCasePrefixInto(line, bytes, prefix);
        EXPECT_GE(prefix.size(), std::min(bytes, line.size())) << bytes;
        EXPECT_EQ(prefix, whole.substr(0, prefix.size())) << bytes;
    }
}

TEST(Utf8Policy, AsciiIsEveryByteBelow0x80) {
    EXPECT_TRUE(utf8::IsAscii(""));
    EXPECT_TRUE(utf8::IsAscii("plain text of sixteen+ bytes\t~\x7F"));
    EXPECT_FALSE(utf8::IsAscii("eight by\xC3\xA9"));      // in the tail after a word of eight
    EXPECT_FALSE(utf8::IsAscii("\x80 at the start"));     // in the first word of eight
    EXPECT_FALSE(utf8::IsAscii("0123456789abcde\xFF!"));  // in the second word
    const std::string forty(40, 'a');
    EXPECT_TRUE(utf8::IsAscii(forty));
    for (const std::size_t at : {0u, 31u, 32u, 36u, 39u}) {  // in four words, past them, last
        std::string line = forty;
        line[at] = '\xE9';
        EXPECT_FALSE(utf8::IsAscii(line)) << at;
    }
}

TEST(CharacterConverter, HandsOutTheCharacterItWouldHoldBack) {
    CharacterConverter hebrew("CP1255");
    const std::uint8_t shin = 0xF9;
    EXPECT_EQ(hebrew.Convert(&shin, 1), U'ש');
    CharacterConverter vietnamese("CP1258");
    const std::uint8_t a = 'a';
    EXPECT_EQ(vietnamese.Convert(&a, 1), U'a');
    const std::uint8_t sjisLead = 0x82;
    CharacterConverter japanese("SHIFT_JIS");
    EXPECT_EQ(japanese.Convert(&sjisLead, 1), CharacterConverter::kIncomplete);
    const std::uint8_t hiraganaA[] = {0x82, 0xA0};
    EXPECT_EQ(japanese.Convert(hiraganaA, 2), U'あ');
    EXPECT_FALSE(CharacterConverter("NO-SUCH-ENCODING").Valid());
}

TEST(ConvertToUtf8, KeepsTheTextAroundABadByte) {
    const auto conversion = ConvertToUtf8("\x82\xA0 x \x82\x20 y", "SHIFT_JIS");
    ASSERT_TRUE(conversion.has_value());
    EXPECT_EQ(conversion->invalidBytes, 1u);
    EXPECT_EQ(conversion->utf8, "あ x ‚  y");  // the space after the bad byte stays
    EXPECT_FALSE(ConvertToUtf8("x", "NO-SUCH-ENCODING").has_value());
}

}  // namespace
}  // namespace text
