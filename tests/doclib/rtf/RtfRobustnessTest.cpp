// Bad input ends in a clean error or a best-effort document: never a crash, a hang or
// unbounded memory.

#include <gtest/gtest.h>

#include <random>

#include "RtfTestText.h"
#include "tests/support/TempHome.h"

namespace {

using quillane::test::BlockTexts;
using quillane::test::BodyText;
using quillane::test::RtfDocument;
using Tessaly::Docs::Document;
using Tessaly::Docs::DocumentError;
using Tessaly::Docs::ReadRtf;
using Tessaly::Docs::ReadRtfFile;

// Structural soundness of a document whatever the input: every reference stays in range.
void ExpectConsistent(const Document& doc) {
    for (const auto& span : doc.spans) {
        ASSERT_LE(span.offset + span.length, doc.text.size());
        if (span.format & Tessaly::Docs::kLink) {
            ASSERT_LT(span.ref, doc.links.size());
        }
        if (span.format & Tessaly::Docs::kNoteRef) {
            ASSERT_LT(span.ref, doc.notes.size());
        }
    }
    for (const auto* blocks : {&doc.blocks, &doc.noteBlocks}) {
        for (const auto& block : *blocks) {
            ASSERT_LE(block.firstSpan + block.spanCount, doc.spans.size());
        }
    }
    for (const auto& note : doc.notes) {
        ASSERT_LE(note.firstBlock + note.blockCount, doc.noteBlocks.size());
    }
    for (unsigned char c : doc.text) {
        ASSERT_TRUE(c >= 0x20 || c == '\t' || c == '\n') << "control character " << int(c);
    }
}

const std::string kFullDocument = RtfDocument(
    "{\\stylesheet{\\s1 heading 1;}}{\\info{\\title T}{\\author A}}"
    "\\pard\\s1 Head\\par\\pard{\\b b}\\u8364?\\f2\\'82\\'a0\\f1\\'c4"
    "{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt l}}x{\\footnote n\\par m}"
    "\\trowd\\pard\\intbl c\\cell d\\cell\\row{\\pict\\bin4 }}}}}{\\*\\x y}\\page z\\par");

TEST(RtfRobustness, EveryPrefixOfAValidDocumentReadsOrFailsCleanly) {
    for (std::size_t n = 0; n <= kFullDocument.size(); ++n) {
        const std::string prefix = kFullDocument.substr(0, n);
        try {
            ExpectConsistent(ReadRtf(prefix));
        } catch (const DocumentError&) {
            EXPECT_LT(n, 5u) << "only a text too short to be RTF may be refused";
        }
    }
}

TEST(RtfRobustness, TruncatedDocumentKeepsWhatWasRead) {
    const Document doc = ReadRtf("{\\rtf1\\ansi one\\par two {\\b bold{\\footnote note");
    EXPECT_EQ(BlockTexts(doc), (std::vector<std::string>{"one", "two bold1"}));
    ASSERT_EQ(doc.notes.size(), 1u);
    EXPECT_EQ(doc.notes[0].blockCount, 1u);
    ExpectConsistent(doc);
}

TEST(RtfRobustness, DeepNestingIsCappedNotRecursed) {
    const std::string deep =
        "{\\rtf1 a" + std::string(100000, '{') + "x" + std::string(100000, '}') + "b\\par}";
    const Document doc = ReadRtf(deep);
    // Text of groups nested past the cap is dropped; the document around them survives.
    EXPECT_EQ(BodyText(doc).front(), 'a');
    EXPECT_EQ(BodyText(doc).back(), 'b');
    const Document unbalanced = ReadRtf("{\\rtf1 a" + std::string(100000, '{') + "x");
    ExpectConsistent(unbalanced);
}

TEST(RtfRobustness, GroupsWithinTheCapKeepTheirText) {
    const std::string nested =
        "{\\rtf1 " + std::string(1000, '{') + "deep" + std::string(1000, '}') + "\\par}";
    EXPECT_EQ(BodyText(ReadRtf(nested)), "deep");
}

TEST(RtfRobustness, ExtraClosingBracesEndTheDocument) {
    EXPECT_EQ(BodyText(ReadRtf("{\\rtf1 kept\\par}}} lost\\par}")), "kept");
}

TEST(RtfRobustness, HugeNumbersAreHarmless) {
    ExpectConsistent(ReadRtf("{\\rtf1 a\\bin999999999 xyz"));
    EXPECT_EQ(BodyText(ReadRtf("{\\rtf1 a\\bin-5 b\\par}")), "ab");
    EXPECT_EQ(BodyText(ReadRtf("{\\rtf1 a\\u99999999999 ?b\\u-99999999999 ?c\\par}")), "abc");
    EXPECT_EQ(BodyText(ReadRtf("{\\rtf1 a\\uc99999999999\\u233 bcd\\par}")), "a\xC3\xA9");
    ExpectConsistent(
        ReadRtf("{\\rtf1\\ansicpg-1\\deff99999999999{\\fonttbl{\\f-5\\fcharset-1 "
                "x;}}\\f-5\\'e9\\outlinelevel-99 h\\par\\fs99999999999 x\\par}"));
}

TEST(RtfRobustness, RandomBytesNeverCrash) {
    std::mt19937 random(20240607);
    const std::string alphabet = "{}\\'*ab01 -\n\x82\xe9\t";
    for (int round = 0; round < 300; ++round) {
        std::string data = "{\\rtf1 ";
        const int length = static_cast<int>(random() % 400);
        for (int i = 0; i < length; ++i) {
            data.push_back(round % 2 == 0 ? static_cast<char>(random() & 0xFF)
                                          : alphabet[random() % alphabet.size()]);
        }
        ExpectConsistent(ReadRtf(data));
    }
}

TEST(RtfRobustness, TextThatIsNotRtfIsRefused) {
    EXPECT_THROW(ReadRtf(""), DocumentError);
    EXPECT_THROW(ReadRtf("Just a story."), DocumentError);
    EXPECT_THROW(ReadRtf("{\\rt"), DocumentError);
    EXPECT_NO_THROW(ReadRtf(" \r\n{\\rtf1 ok}"));
}

TEST(RtfRobustness, ReadRtfFileNamesTheCause) {
    quillane::test::TempDir dir;
    try {
        ReadRtfFile(dir / "missing.rtf");
        FAIL() << "a missing file must throw";
    } catch (const DocumentError& e) {
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos)
            << e.what();
        EXPECT_NE(std::string(e.what()).find("missing.rtf"), std::string::npos);
    }
    EXPECT_THROW(ReadRtfFile(dir.path()), DocumentError);
    quillane::test::WriteFile(dir / "plain.rtf", "Not RTF at all\n");
    try {
        ReadRtfFile(dir / "plain.rtf");
        FAIL() << "plain text must be refused";
    } catch (const DocumentError& e) {
        EXPECT_NE(std::string(e.what()).find("not an RTF document"), std::string::npos);
    }
    quillane::test::WriteFile(dir / "good.rtf", "{\\rtf1\\ansi Good\\par}");
    EXPECT_EQ(BodyText(ReadRtfFile(dir / "good.rtf")), "Good");
}

}  // namespace
