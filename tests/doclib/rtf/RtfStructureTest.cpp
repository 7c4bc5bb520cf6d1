// Paragraphs, headings, links, tables, notes, breaks and character formatting.

#include <gtest/gtest.h>

#include "RtfTestText.h"

namespace {

using quillane::test::BlockTexts;
using quillane::test::BodyText;
using quillane::test::ReadBody;
using Tessaly::Docs::Alignment;
using Tessaly::Docs::BlockKind;
using Tessaly::Docs::Document;
using Tessaly::Docs::ReadRtf;
using Strings = std::vector<std::string>;

// The shape our own staging writes: one font, the file name as title, a paragraph per line.
TEST(RtfStructure, StagedTextGivesOneBlockPerLineAndKeepsLeadingSpaces) {
    const Document doc = ReadRtf(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}"
        "{\\info{\\title my_story.txt}}\n"
        "\\pard First line\\par\n"
        "    indented by four\\par\n"
        "\\par\n"
        "\\par\n"
        "caf\\'e9 \\{braces\\} back\\\\slash\\par\n"
        "}");
    EXPECT_EQ(BlockTexts(doc),
              (Strings{"First line", "    indented by four", "", "", "café {braces} back\\slash"}));
    EXPECT_EQ(doc.metadata.title, "my_story.txt");
    EXPECT_FALSE(doc.hasParagraphFormatting);
    EXPECT_TRUE(doc.metadata.language.empty());
    for (const auto& block : doc.blocks) {
        EXPECT_EQ(block.kind, BlockKind::Paragraph);
    }
    EXPECT_EQ(doc.blocks[2].spanCount, 0u);  // empty lines are empty blocks
}

TEST(RtfStructure, EmptyDocumentAndTextWithoutFinalPar) {
    EXPECT_TRUE(ReadRtf("{\\rtf1\\ansi }").blocks.empty());
    EXPECT_EQ(BlockTexts(ReadRtf("{\\rtf1 one\\par two}")), (Strings{"one", "two"}));
}

TEST(RtfStructure, HeadingsFromOutlineLevels) {
    const Document doc = ReadBody(
        "\\pard\\outlinelevel0 Part One\\par\\pard\\outlinelevel1 Chapter\\par"
        "\\pard\\outlinelevel7 Deep\\par\\pard\\outlinelevel9 Body\\par\\pard Plain\\par");
    ASSERT_EQ(doc.blocks.size(), 5u);
    EXPECT_EQ(doc.blocks[0].kind, BlockKind::Heading);
    EXPECT_EQ(doc.blocks[0].level, 1);
    EXPECT_EQ(doc.blocks[1].level, 2);
    EXPECT_EQ(doc.blocks[2].kind, BlockKind::Heading);
    EXPECT_EQ(doc.blocks[2].level, 6);  // levels below 6 fold into 6
    EXPECT_EQ(doc.blocks[3].kind, BlockKind::Paragraph);
    EXPECT_EQ(doc.blocks[4].kind, BlockKind::Paragraph);
    EXPECT_TRUE(doc.hasParagraphFormatting);
}

TEST(RtfStructure, HeadingsFromHeadingStyles) {
    const Document doc = ReadRtf(
        "{\\rtf1\\ansi{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0 heading 1;}"
        "{\\s2 Heading 2;}{\\s3\\outlinelevel2 Titre local;}{\\s4 Heading Note;}"
        "{\\*\\cs5 heading 1 Char;}}"
        "\\pard\\s1 Book\\par\\pard\\s2 Chapter\\par\\pard\\s3 Section\\par"
        "\\pard\\s4 Styled\\par\\pard\\s1\\outlinelevel9 Demoted\\par\\pard\\s1\\par}");
    ASSERT_EQ(doc.blocks.size(), 6u);
    EXPECT_EQ(doc.blocks[0].kind, BlockKind::Heading);
    EXPECT_EQ(doc.blocks[0].level, 1);
    EXPECT_EQ(doc.blocks[1].level, 2);
    EXPECT_EQ(doc.blocks[2].level, 3);
    EXPECT_EQ(doc.blocks[3].kind, BlockKind::Paragraph);
    EXPECT_EQ(doc.blocks[4].kind, BlockKind::Paragraph);
    // An empty heading paragraph would be an empty contents entry.
    EXPECT_EQ(doc.blocks[5].kind, BlockKind::Paragraph);
}

TEST(RtfStructure, HyperlinkFieldsBecomeLinks) {
    const Document doc = ReadBody(
        "See {\\field{\\*\\fldinst{ HYPERLINK \"https://example.org/a\" \\\\o \"tip\"}}"
        "{\\fldrslt{\\ul the map}}} and {\\field{\\*\\fldinst HYPERLINK \\\\l \"notes\"}"
        "{\\fldrslt notes}}, {\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}, "
        "{\\field{\\*\\fldinst HYPERLINK \"page.html\" \\\\l \"part\"}{\\fldrslt more}}.\\par");
    EXPECT_EQ(BodyText(doc), "See the map and notes, 7, more.");
    // The link to a bookmark of the document itself keeps its text but no target.
    ASSERT_EQ(doc.links, (Strings{"https://example.org/a", "page.html#part"}));
    ASSERT_EQ(doc.blocks.size(), 1u);
    std::vector<std::pair<std::string, int>> linked;
    for (const auto& span : doc.spans) {
        if (span.format & Tessaly::Docs::kLink) {
            linked.emplace_back(std::string(doc.SpanText(span)), span.ref);
        }
    }
    ASSERT_EQ(linked.size(), 2u);
    EXPECT_EQ(linked[0], (std::pair<std::string, int>{"the map", 0}));
    EXPECT_EQ(linked[1], (std::pair<std::string, int>{"more", 1}));
    EXPECT_EQ(doc.spans[1].format, Tessaly::Docs::kLink | Tessaly::Docs::kUnderline);
}

TEST(RtfStructure, FieldWithoutResultOrTargetAddsNoLink) {
    const Document doc = ReadBody(
        "{\\field{\\*\\fldinst HYPERLINK}{\\fldrslt bare}}{\\field{\\*\\fldinst HYPERLINK \"x\"}}"
        " end\\par");
    EXPECT_TRUE(doc.links.empty());
    EXPECT_EQ(BodyText(doc), "bare end");
}

TEST(RtfStructure, TableRowsBecomeParagraphsWithTabSeparatedCells) {
    const Document doc = ReadBody(
        "Before\\par"
        "\\trowd\\cellx1000\\cellx2000\\cellx3000"
        "\\pard\\intbl Name\\cell\\pard\\intbl Age\\cell\\pard\\intbl Town\\cell\\row"
        "\\trowd\\cellx1000\\cellx2000\\cellx3000"
        "\\pard\\intbl Ada\\cell\\cell\\pard\\intbl two\\par lines\\cell\\row"
        "\\trowd\\cellx1000\\pard\\intbl\\cell\\cell\\row"
        "\\pard After\\par");
    EXPECT_EQ(BlockTexts(doc),
              (Strings{"Before", "Name\tAge\tTown", "Ada\t\ttwo\nlines", "", "After"}));
}

TEST(RtfStructure, RowNeverClosedEndsWhenTableTextEnds) {
    const Document doc = ReadBody("\\pard\\intbl a\\cell b\\cell\\pard Outside\\par");
    EXPECT_EQ(BlockTexts(doc), (Strings{"a\tb", "Outside"}));
}

TEST(RtfStructure, FootnotesBecomeNotesWithAReferenceMark) {
    const Document doc = ReadBody(
        "Sea{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} Salt, mostly.\\par Second.}"
        " and sky{\\*\\footnote\\pard Blue.}.\\par");
    EXPECT_EQ(BodyText(doc), "Sea1 and sky2.");
    ASSERT_EQ(doc.notes.size(), 2u);
    ASSERT_EQ(doc.blocks.size(), 1u);
    // The body's spans stay one run: the note's text lies elsewhere in the arena.
    const auto& block = doc.blocks[0];
    const auto& mark = doc.spans[block.firstSpan + 1];
    EXPECT_EQ(mark.format, Tessaly::Docs::kNoteRef);
    EXPECT_EQ(mark.ref, 0u);
    EXPECT_EQ(doc.SpanText(mark), "1");
    EXPECT_EQ(doc.notes[0].blockCount, 2u);
    EXPECT_EQ(doc.BlockText(doc.noteBlocks[doc.notes[0].firstBlock]), " Salt, mostly.");
    EXPECT_EQ(doc.BlockText(doc.noteBlocks[doc.notes[0].firstBlock + 1]), "Second.");
    EXPECT_EQ(doc.notes[1].blockCount, 1u);
    EXPECT_EQ(doc.BlockText(doc.noteBlocks[doc.notes[1].firstBlock]), "Blue.");
    EXPECT_EQ(doc.spans[block.firstSpan + 3].ref, 1u);
}

TEST(RtfStructure, LineBreaksPageAndSectionBreaks) {
    const Document doc =
        ReadBody("one\\line two\\par\\page\\par three\\page four\\par\\sect five\\par\\sect\\par");
    ASSERT_EQ(doc.blocks.size(), 7u);
    EXPECT_EQ(doc.BlockText(doc.blocks[0]), "one\ntwo");
    EXPECT_EQ(doc.blocks[1].kind, BlockKind::PageBreak);
    EXPECT_EQ(doc.BlockText(doc.blocks[2]), "three");
    EXPECT_EQ(doc.blocks[3].kind, BlockKind::PageBreak);
    EXPECT_EQ(doc.BlockText(doc.blocks[4]), "four");
    EXPECT_EQ(doc.blocks[5].kind, BlockKind::SceneBreak);
    EXPECT_EQ(doc.BlockText(doc.blocks[6]), "five");  // the closing section break is dropped
}

TEST(RtfStructure, PageBreakBeforeParagraph) {
    const Document doc = ReadBody("Intro\\par\\pard\\pagebb Chapter\\par\\pard\\pagebb Next\\par");
    ASSERT_EQ(doc.blocks.size(), 5u);
    EXPECT_EQ(doc.blocks[1].kind, BlockKind::PageBreak);
    EXPECT_EQ(doc.BlockText(doc.blocks[2]), "Chapter");
    EXPECT_EQ(doc.blocks[3].kind, BlockKind::PageBreak);
}

TEST(RtfStructure, CharacterFormattingBitsAndPlain) {
    const Document doc = ReadBody(
        "\\b B\\b0\\i I\\i0\\ul U\\ulnone\\uldb D\\ul0\\strike S\\strike0\\super P\\sub Q"
        "\\nosupersub\\b\\i\\ul\\plain N\\par");
    using namespace Tessaly::Docs;
    const std::vector<std::pair<std::string, int>> expected = {
        {"B", kBold},        {"I", kItalic},    {"UD", kUnderline}, {"S", kStrike},
        {"P", kSuperscript}, {"Q", kSubscript}, {"N", kPlain}};
    ASSERT_EQ(doc.spans.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(doc.SpanText(doc.spans[i]), expected[i].first);
        EXPECT_EQ(doc.spans[i].format, expected[i].second) << expected[i].first;
    }
}

TEST(RtfStructure, AlignmentIndentAndParagraphFormattingFlag) {
    const Document doc = ReadBody(
        "\\pard\\qc Centre\\par\\pard\\qr\\li720 Right\\par\\pard\\qj\\fi360 Just\\par"
        "\\pard\\li720\\fi-720 Hanging\\par\\pard Plain\\par");
    ASSERT_EQ(doc.blocks.size(), 5u);
    EXPECT_EQ(doc.blocks[0].alignment, Alignment::Center);
    EXPECT_FALSE(doc.blocks[0].indented);
    EXPECT_EQ(doc.blocks[1].alignment, Alignment::End);
    EXPECT_TRUE(doc.blocks[1].indented);
    EXPECT_EQ(doc.blocks[2].alignment, Alignment::Justify);
    EXPECT_TRUE(doc.blocks[2].indented);
    EXPECT_TRUE(doc.blocks[3].indented);
    EXPECT_EQ(doc.blocks[4].alignment, Alignment::Start);
    EXPECT_FALSE(doc.blocks[4].indented);
    EXPECT_TRUE(doc.hasParagraphFormatting);
}

TEST(RtfStructure, ParagraphFormattingFlagOnlyForTheDocumentsOwnFormatting) {
    // Zero indents and spacing, style 0 and formatting inside the style sheet do not count.
    EXPECT_FALSE(ReadRtf("{\\rtf1{\\stylesheet{\\s0\\sa200\\li100 Normal;}}"
                         "\\pard\\s0\\li0\\fi0\\sb0\\sa0 x\\par}")
                     .hasParagraphFormatting);
    EXPECT_TRUE(ReadBody("\\pard\\sa200 x\\par").hasParagraphFormatting);
    EXPECT_TRUE(ReadBody("\\pard\\s3 x\\par").hasParagraphFormatting);
    EXPECT_TRUE(ReadBody("\\pard\\ri100 x\\par").hasParagraphFormatting);
}

TEST(RtfStructure, LanguageOnlyWhenTheDocumentStatesIt) {
    EXPECT_EQ(ReadRtf("{\\rtf1\\ansi\\deflang1031 Text\\par}").metadata.language, "de-DE");
    // The language most of the text is marked with wins over the default.
    EXPECT_EQ(ReadRtf("{\\rtf1\\ansi\\deflang1033{\\lang1036 Bonjour tout le monde}{\\lang1033 hi}"
                      "\\par}")
                  .metadata.language,
              "fr-FR");
    EXPECT_EQ(ReadRtf("{\\rtf1\\ansi\\deflang1024 x\\par}").metadata.language, "");
    EXPECT_EQ(ReadRtf("{\\rtf1\\ansi\\lang1049 x\\par}").metadata.language, "ru-RU");
    EXPECT_EQ(ReadRtf("{\\rtf1\\ansi x\\par}").metadata.language, "");
}

}  // namespace
