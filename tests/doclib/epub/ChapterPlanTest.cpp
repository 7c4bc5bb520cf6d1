// Cutting the body into content files, and nesting the table of contents.
#include <gtest/gtest.h>

#include "doclib/epub/ChapterSplitter.h"
#include "doclib/epub/ContentWriter.h"
#include "doclib/epub/TocTree.h"

using namespace Tessaly::Docs;

namespace {

void Add(Document& doc, BlockKind kind, std::uint8_t level, const std::string& text) {
    doc.BeginBlock(kind, level);
    doc.AppendText(text);
}

// The body text each piece covers, read back through the plan's positions.
std::vector<std::string> PieceTexts(const Document& doc, const ChapterPlan& plan) {
    std::vector<std::string> texts;
    for (const ContentPiece& piece : plan.pieces) {
        std::string text;
        for (std::uint32_t b = piece.begin.block; b < doc.blocks.size() && b <= piece.end.block;
             ++b) {
            if (b == piece.end.block && piece.end.offset == 0) {
                break;
            }
            const std::string whole = doc.BlockText(doc.blocks[b]);
            const std::size_t from = b == piece.begin.block ? piece.begin.offset : 0;
            const std::size_t to = b == piece.end.block ? piece.end.offset : whole.size();
            text += whole.substr(from, to - from);
        }
        texts.push_back(text);
    }
    return texts;
}

std::string AllText(const Document& doc) {
    std::string text;
    for (const Block& block : doc.blocks) {
        text += doc.BlockText(block);
    }
    return text;
}

void ExpectContiguous(const ChapterPlan& plan, const Document& doc) {
    ASSERT_FALSE(plan.pieces.empty());
    EXPECT_EQ(plan.pieces.front().begin, (BodyPosition{0, 0}));
    for (std::size_t i = 1; i < plan.pieces.size(); ++i) {
        EXPECT_EQ(plan.pieces[i].begin, plan.pieces[i - 1].end) << i;
    }
    EXPECT_EQ(plan.pieces.back().end,
              (BodyPosition{static_cast<std::uint32_t>(doc.blocks.size()), 0}));
}

}  // namespace

TEST(ChapterPlan, EmptyDocumentIsOneEmptyPiece) {
    Document doc;
    const ChapterPlan plan = PlanChapters(doc, 10'000);
    ASSERT_EQ(plan.pieces.size(), 1u);
    ExpectContiguous(plan, doc);
}

TEST(ChapterPlan, PartsAndChaptersStartFilesSubheadingsDoNot) {
    Document doc;
    Add(doc, BlockKind::Paragraph, 0, "Front matter.");
    Add(doc, BlockKind::Heading, 1, "Part One");
    Add(doc, BlockKind::Heading, 2, "Chapter 1");
    Add(doc, BlockKind::Paragraph, 0, "Text.");
    Add(doc, BlockKind::Heading, 3, "A section");
    Add(doc, BlockKind::Paragraph, 0, "More.");
    Add(doc, BlockKind::Heading, 2, "Chapter 2");
    Add(doc, BlockKind::Paragraph, 0, "End.");
    const ChapterPlan plan = PlanChapters(doc, 100'000);
    ExpectContiguous(plan, doc);
    const auto texts = PieceTexts(doc, plan);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "Front matter.");
    EXPECT_EQ(texts[1], "Part One");
    EXPECT_EQ(texts[2], "Chapter 1Text.A sectionMore.");
    EXPECT_EQ(texts[3], "Chapter 2End.");
}

TEST(ChapterPlan, LeadingBlankParagraphsDoNotMakeAnEmptyFile) {
    Document doc;
    Add(doc, BlockKind::Paragraph, 0, "");
    Add(doc, BlockKind::Paragraph, 0, "   ");
    Add(doc, BlockKind::Heading, 1, "Chapter 1");
    Add(doc, BlockKind::Paragraph, 0, "Text.");
    const ChapterPlan plan = PlanChapters(doc, 100'000);
    EXPECT_EQ(plan.pieces.size(), 1u);
}

TEST(ChapterPlan, LongStretchesSplitAtParagraphsWithinTheBudget) {
    Document doc;
    Add(doc, BlockKind::Heading, 1, "Only chapter");
    for (int i = 0; i < 3000; ++i) {
        Add(doc, BlockKind::Paragraph, 0,
            "Paragraph " + std::to_string(i) + " with <angle> & ampersand text.");
    }
    const std::size_t budget = 20'000;
    const ChapterPlan plan = PlanChapters(doc, budget);
    ExpectContiguous(plan, doc);
    EXPECT_GT(plan.pieces.size(), 5u);
    for (const ContentPiece& piece : plan.pieces) {
        EXPECT_EQ(piece.begin.offset, 0u);  // paragraph boundaries only
        std::size_t bound = 0;
        for (std::uint32_t b = piece.begin.block; b < piece.end.block; ++b) {
            bound += BlockBound(doc, doc.blocks[b]);
        }
        EXPECT_LE(bound, budget);
        EXPECT_GT(bound, budget / 2);  // and not needlessly small
    }
    std::string joined;
    for (const auto& t : PieceTexts(doc, plan)) {
        joined += t;
    }
    EXPECT_EQ(joined, AllText(doc));
}

TEST(ChapterPlan, AGiantParagraphSplitsAtLineBreaksThenSpacesThenCharacters) {
    const std::size_t budget = 5'000;
    std::string lines;
    for (int i = 0; i < 400; ++i) {
        lines += "line " + std::to_string(i) + " of a long poem\n";
    }
    std::string words;
    for (int i = 0; i < 1500; ++i) {
        words += "word" + std::to_string(i) + " ";
    }
    std::string solid;
    for (int i = 0; i < 6000; ++i) {
        solid += "\xE4\xB8\xAD";  // one 3-byte character, no spaces at all
    }
    const std::string* const kinds[] = {&lines, &words, &solid};
    for (const std::string* kind : kinds) {
        const std::string& text = *kind;
        Document doc;
        Add(doc, BlockKind::Paragraph, 0, "Before.");
        doc.BeginBlock();
        // Several spans, so cuts fall inside and between them.
        for (std::size_t at = 0; at < text.size(); at += 997) {
            doc.AppendText(std::string_view(text).substr(at, 997), at % 2 ? kItalic : kPlain);
        }
        Add(doc, BlockKind::Paragraph, 0, "After.");
        const ChapterPlan plan = PlanChapters(doc, budget);
        ExpectContiguous(plan, doc);
        ASSERT_GT(plan.pieces.size(), 2u);
        const auto texts = PieceTexts(doc, plan);
        std::string joined;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            joined += texts[i];
            EXPECT_LE(texts[i].size(), budget);
            if (plan.pieces[i].end.offset == 0) {
                continue;  // ends at a paragraph boundary
            }
            if (kind == &lines) {
                EXPECT_EQ(texts[i].back(), '\n') << i;
            } else if (kind == &words) {
                EXPECT_EQ(texts[i].back(), ' ') << i;
            }
        }
        EXPECT_EQ(joined, AllText(doc));
        // Cuts never fall inside a character.
        for (const ContentPiece& piece : plan.pieces) {
            if (piece.begin.offset > 0) {
                const std::string whole = doc.BlockText(doc.blocks[piece.begin.block]);
                EXPECT_NE(static_cast<unsigned char>(whole[piece.begin.offset]) & 0xc0, 0x80);
            }
        }
    }
}

TEST(ChapterPlan, NotesGoWithTheirFirstReference) {
    Document doc;
    Add(doc, BlockKind::Heading, 1, "One");
    doc.BeginBlock();
    doc.AppendText("Text");
    doc.AppendText("1", kNoteRef, 0);
    Add(doc, BlockKind::Heading, 1, "Two");
    doc.BeginBlock();
    doc.AppendText("Again");
    doc.AppendText("2", kNoteRef, 1);
    doc.AppendText("1", kNoteRef, 0);  // a second reference to the first note
    for (int n = 0; n < 3; ++n) {
        doc.noteBlocks.push_back(Block{});
        doc.noteBlocks.back().firstSpan = static_cast<std::uint32_t>(doc.spans.size());
        doc.blocks.push_back(Block{});  // AppendText writes to the last block
        doc.AppendText("Note text " + std::to_string(n));
        doc.noteBlocks.back().spanCount = doc.blocks.back().spanCount;
        doc.blocks.pop_back();
        doc.notes.push_back(Note{static_cast<std::uint32_t>(n), 1});
    }
    const ChapterPlan plan = PlanChapters(doc, 100'000);
    ASSERT_EQ(plan.pieces.size(), 2u);
    EXPECT_EQ(plan.notePiece, (std::vector<std::uint32_t>{0, 1, 1}));
    EXPECT_EQ(plan.noteFirstRefPiece[0], 0u);
    EXPECT_EQ(plan.noteFirstRef[0], 2u);                    // span of the first "1"
    EXPECT_EQ(plan.noteFirstRef[2], ChapterPlan::kNoSpan);  // never cited: at the end
    EXPECT_EQ(plan.pieces[0].notes, (std::vector<std::uint32_t>{0}));
    EXPECT_EQ(plan.pieces[1].notes, (std::vector<std::uint32_t>{1, 2}));
}

TEST(TocTree, NestsByLevelAndToleratesSkippedLevels) {
    const std::vector<TocEntry> entries = {
        {2, "Prologue", "p"}, {1, "Part I", "a"},  {2, "Ch 1", "b"}, {3, "Sec", "c"},
        {2, "Ch 2", "d"},     {1, "Part II", "e"}, {3, "Deep", "f"},
    };
    const auto tree = BuildTocTree(entries);
    ASSERT_EQ(tree.size(), 3u);
    EXPECT_EQ(tree[0].entry.label, "Prologue");
    EXPECT_TRUE(tree[0].children.empty());
    ASSERT_EQ(tree[1].children.size(), 2u);
    EXPECT_EQ(tree[1].children[0].entry.label, "Ch 1");
    ASSERT_EQ(tree[1].children[0].children.size(), 1u);
    EXPECT_EQ(tree[1].children[0].children[0].entry.label, "Sec");
    EXPECT_EQ(tree[1].children[1].entry.label, "Ch 2");
    ASSERT_EQ(tree[2].children.size(), 1u);
    EXPECT_EQ(tree[2].children[0].entry.label, "Deep");
    EXPECT_EQ(TocDepth(tree), 3);
    EXPECT_EQ(TocDepth({}), 0);
}
