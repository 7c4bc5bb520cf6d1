// Chapter lines: the line matcher in several languages and scripts, and the document-level
// sanity rules that keep ordinary prose, tables of contents and lists from becoming headings.

#include <gtest/gtest.h>

#include "doclib/structure/ChapterLine.h"
#include "doclib/structure/Refine.h"
#include "tests/doclib/structure/SampleProse.h"
#include "tests/doclib/structure/StagedText.h"

namespace {

using Tessaly::Docs::BlockKind;
using Tessaly::Docs::DivisionKind;
using Tessaly::Docs::Document;
using Tessaly::Docs::MatchChapterLine;
using namespace quillane::test;

std::optional<Tessaly::Docs::ChapterLineMatch> Match(std::string_view line) {
    std::string scratch;
    return MatchChapterLine(line, scratch);
}

std::string Body(int paragraph) {
    const auto prose = HarbourParagraphs();
    return HardWrap({prose[paragraph % prose.size()], prose[(paragraph + 3) % prose.size()]}, 72);
}

TEST(ChapterLine, NumberedFormsInEnglish) {
    const struct {
        const char* line;
        DivisionKind kind;
        int number;
        bool titled;
    } cases[] = {
        {"Chapter 12", DivisionKind::Chapter, 12, false},
        {"CHAPTER XII", DivisionKind::Chapter, 12, false},
        {"chapter xii.", DivisionKind::Chapter, 12, false},
        {"Chapter Twelve", DivisionKind::Chapter, 12, false},
        {"CHAPTER TWENTY-ONE", DivisionKind::Chapter, 21, false},
        {"Chapter thirty four", DivisionKind::Chapter, 34, false},
        {"Chapter 3: The Storm", DivisionKind::Chapter, 3, true},
        {"Chapter 3. The Storm", DivisionKind::Chapter, 3, true},
        {"Chapter 3 \u2014 Who Goes There?", DivisionKind::Chapter, 3, true},
        {"Chapter MCMXCIX", DivisionKind::Chapter, 1999, false},
        {"Part One", DivisionKind::Part, 1, false},
        {"PART THE", DivisionKind::Part, -2, false},  // no number: no match
        {"Book II", DivisionKind::Book, 2, false},
        {"Book the First", DivisionKind::Book, -2, false},
        {"Volume 3", DivisionKind::Volume, 3, false},
        {"Vol. 4", DivisionKind::Volume, 4, false},
        {"Prologue", DivisionKind::FrontMatter, -1, false},
        {"PREFACE", DivisionKind::FrontMatter, -1, false},
        {"Introduction", DivisionKind::FrontMatter, -1, false},
        {"Epilogue: Ten Years Later", DivisionKind::BackMatter, -1, true},
        {"Afterword", DivisionKind::BackMatter, -1, false},
        {"Interlude 2", DivisionKind::Interlude, 2, false},
    };
    for (const auto& c : cases) {
        const auto match = Match(c.line);
        if (c.number == -2) {
            EXPECT_FALSE(match) << c.line;
            continue;
        }
        ASSERT_TRUE(match) << c.line;
        EXPECT_EQ(match->kind, c.kind) << c.line;
        EXPECT_EQ(match->number, c.number) << c.line;
        EXPECT_EQ(match->titled, c.titled) << c.line;
    }
}

TEST(ChapterLine, OtherLanguagesAndScripts) {
    const struct {
        const char* line;
        DivisionKind kind;
        int number;
    } cases[] = {
        {"Kapitel 4", DivisionKind::Chapter, 4},    {"KAPITEL DREI", DivisionKind::Chapter, 3},
        {"Teil 2", DivisionKind::Part, 2},          {"Chapitre V", DivisionKind::Chapter, 5},
        {"Partie II", DivisionKind::Part, 2},       {"Capítulo 7", DivisionKind::Chapter, 7},
        {"CAPÍTULO 8", DivisionKind::Chapter, 8},   {"Capitolo 3", DivisionKind::Chapter, 3},
        {"Hoofdstuk 8", DivisionKind::Chapter, 8},  {"Deel 1", DivisionKind::Part, 1},
        {"Глава 7", DivisionKind::Chapter, 7},      {"ГЛАВА ПЕРВАЯ", DivisionKind::Chapter, 1},
        {"Часть 2", DivisionKind::Part, 2},         {"Rozdział 3", DivisionKind::Chapter, 3},
        {"ROZDZIAŁ IV", DivisionKind::Chapter, 4},  {"Kapitola 5", DivisionKind::Chapter, 5},
        {"Épilogue", DivisionKind::BackMatter, -1}, {"Пролог", DivisionKind::FrontMatter, -1},
        {"第十二章", DivisionKind::Chapter, 12},    {"第二十三章 风暴", DivisionKind::Chapter, 23},
        {"第3回", DivisionKind::Chapter, 3},        {"第一部", DivisionKind::Part, 1},
        {"第１２章", DivisionKind::Chapter, 12},    {"제3장", DivisionKind::Chapter, 3},
    };
    for (const auto& c : cases) {
        const auto match = Match(c.line);
        ASSERT_TRUE(match) << c.line;
        EXPECT_EQ(match->kind, c.kind) << c.line;
        EXPECT_EQ(match->number, c.number) << c.line;
    }
}

TEST(ChapterLine, ProseAndNearMissesAreNoChapters) {
    for (const char* line : {
             "Chapter 3 was the hardest to write.",
             "Chapter",
             "Chapters 1 and 2",
             "Part of the problem was the rain",
             "Book",
             "Bookshelves lined the wall",
             "The chapter ended there",
             "Introduction to the island was brief.",
             "Chapter 3: he said, and left.",
             "Chapter IIII",
             "Chapter MIX-UP",
             "Chapter 1 .......... 5",
             "Chapter 12345",
             "第十二",
             "第十二章。",
             "Prologue and epilogue are both missing",
             "Part 2 of the plan",
         }) {
        EXPECT_FALSE(Match(line)) << line;
    }
}

TEST(ChapterLine, RomanNumeralsAreCanonical) {
    EXPECT_EQ(Tessaly::Docs::ParseRomanNumeral("xiv"), 14);
    EXPECT_EQ(Tessaly::Docs::ParseRomanNumeral("mmxxiv"), 2024);
    EXPECT_EQ(Tessaly::Docs::ParseRomanNumeral("iiii"), -1);
    EXPECT_EQ(Tessaly::Docs::ParseRomanNumeral("vx"), -1);
    EXPECT_EQ(Tessaly::Docs::ParseRomanNumeral("mix"), 1009);  // a numeral after "Chapter"
    EXPECT_EQ(Tessaly::Docs::ParseRomanNumeral(""), -1);
}

TEST(Chapters, ChapterLinesOfAPlainNovelBecomeHeadings) {
    std::string text;
    for (int c = 1; c <= 3; ++c) {
        text += "CHAPTER " +
                std::string(c == 1   ? "I"
                            : c == 2 ? "II"
                                     : "III") +
                "\n\n" + Body(c) + "\n";
    }
    const Document doc = Refined(text, "harbour_tales.txt");
    EXPECT_EQ(Headings(doc),
              (std::vector<Heading>{{"CHAPTER I", 1}, {"CHAPTER II", 1}, {"CHAPTER III", 1}}));
    EXPECT_EQ(WordsOf(text), WordsOf(doc));
    EXPECT_EQ(doc.blocks.size(), 3u + 3u * 2u);
}

TEST(Chapters, PartsHeadTheBookAndChaptersSitBelow) {
    const std::string text = "Prologue\n\n" + Body(0) + "\nPart One\n\nChapter 1\n\n" + Body(1) +
                             "\nChapter 2\n\n" + Body(2) + "\nPart Two\n\nChapter 1\n\n" + Body(3) +
                             "\nEpilogue\n\n" + Body(4);
    const Document doc = Refined(text);
    EXPECT_EQ(Headings(doc), (std::vector<Heading>{{"Prologue", 1},
                                                   {"Part One", 1},
                                                   {"Chapter 1", 2},
                                                   {"Chapter 2", 2},
                                                   {"Part Two", 1},
                                                   {"Chapter 1", 2},
                                                   {"Epilogue", 1}}));
    EXPECT_EQ(WordsOf(text), WordsOf(doc));
}

TEST(Chapters, SubtitleLinesJoinTheirHeading) {
    const std::string text = "Chapter 1\nThe Storm\n\n" + Body(0) + "\nCHAPTER II\n\nTHE CALM\n\n" +
                             Body(1) + "\nChapter 3\n\nRain fell all day.\n\n" + Body(2);
    const Document doc = Refined(text);
    EXPECT_EQ(Headings(doc),
              (std::vector<Heading>{
                  {"Chapter 1\nThe Storm", 1}, {"CHAPTER II\nTHE CALM", 1}, {"Chapter 3", 1}}));
    EXPECT_EQ(WordsOf(text), WordsOf(doc));
}

TEST(Chapters, ATableOfContentsStaysText) {
    std::string toc = "Contents\n\n";
    std::string body;
    for (int c = 1; c <= 5; ++c) {
        toc += "Chapter " + std::to_string(c) + "\n";
        body += "Chapter " + std::to_string(c) + "\n\n" + Body(c) + "\n";
    }
    const Document doc = Refined(toc + "\n" + body);
    const std::vector<Heading> headings = Headings(doc);
    ASSERT_EQ(headings.size(), 5u);
    EXPECT_EQ(headings[0], (Heading{"Chapter 1", 1}));
    // The listed lines are still there, as the items of a list.
    for (std::size_t c = 1; c <= 5; ++c) {
        EXPECT_EQ(BlockTexts(doc)[c], "Chapter " + std::to_string(c));
        EXPECT_EQ(doc.blocks[c].kind, Tessaly::Docs::BlockKind::ListItem);
    }
    EXPECT_EQ(WordsOf(toc + body), WordsOf(doc));

    // Listed with blank lines between the entries, and titled.
    std::string spaced;
    for (int c = 1; c <= 4; ++c) {
        spaced += "Chapter " + std::to_string(c) + ": The Harbour\n\n";
    }
    EXPECT_TRUE(Headings(Refined(spaced + Body(1))).empty());
}

TEST(Chapters, ProseAboutChaptersStaysProse) {
    const std::string text = Body(0) + "\nChapter 3 was the hardest to write.\n\n" + Body(1) +
                             "\nPart of the problem was the rain\n\n" + Body(2);
    const Document doc = Refined(text);
    EXPECT_TRUE(Headings(doc).empty());
    EXPECT_EQ(WordsOf(text), WordsOf(doc));
}

TEST(Chapters, ALineInsideAWrappedParagraphIsNoHeading) {
    // "Chapter 4." closes a sentence that began on the line above.
    const std::string text = Body(0) +
                             "\nThe story of the lighthouse keeper is told in full in\n"
                             "Chapter 4.\n\n" +
                             Body(1);
    EXPECT_TRUE(Headings(Refined(text)).empty());
}

TEST(Chapters, AListWhereMostLinesMatchIsNoBook) {
    std::string text;
    for (int c = 1; c <= 8; ++c) {
        text += "Chapter " + std::to_string(c) + "\n\nDone.\n\n";
    }
    EXPECT_TRUE(Headings(Refined(text)).empty());
}

TEST(Chapters, NumbersOutOfOrderAreNoChapters) {
    std::string text;
    for (int c : {5, 2, 9, 3, 7}) {
        text += "Chapter " + std::to_string(c) + "\n\n" + Body(c) + "\n";
    }
    EXPECT_TRUE(Headings(Refined(text)).empty());

    // Restarting at 1 in each part is in order.
    std::string restarted;
    for (int part = 1; part <= 2; ++part) {
        restarted += "Part " + std::to_string(part) + "\n\n";
        for (int c = 1; c <= 3; ++c) {
            restarted += "Chapter " + std::to_string(c) + "\n\n" + Body(c) + "\n";
        }
    }
    EXPECT_EQ(Headings(Refined(restarted)).size(), 8u);
}

TEST(Chapters, WorkInOtherLanguagesAndWithoutBlankLines) {
    // German, one paragraph a line, no blank lines.
    const std::string german =
        "Kapitel 1\n"
        "Die Fähre kam spät am Abend, tief im Wasser, und roch nach Diesel und nassem Tau, "
        "während Hella am Ende des Kais stand und den Lichtern zusah.\n"
        "Niemand stieg zuerst aus.\n"
        "Kapitel 2\n"
        "Sie gingen zusammen durch die Stadt hinauf, und der Regen hatte aufgehört, und die "
        "Rinnsteine liefen laut neben dem Pflaster.\n";
    EXPECT_EQ(Headings(Refined(german)),
              (std::vector<Heading>{{"Kapitel 1", 1}, {"Kapitel 2", 1}}));

    const std::string russian =
        "Глава 1\n\nПаром пришёл поздно вечером.\n\nГлава 2\n\n"
        "Они вместе поднялись через город.\n";
    EXPECT_EQ(Headings(Refined(russian)), (std::vector<Heading>{{"Глава 1", 1}, {"Глава 2", 1}}));

    const std::string chinese =
        "第一章\n\n渡轮很晚才到，船身很低，闻起来有柴油和湿绳子的味道。\n\n"
        "第二章 风暴\n\n他们一起穿过小镇往上走。\n";
    EXPECT_EQ(Headings(Refined(chinese)),
              (std::vector<Heading>{{"第一章", 1}, {"第二章 风暴", 1}}));
}

TEST(Chapters, TheSourcesOwnHeadingsAreKeptAndNoneAreAdded) {
    Document doc;
    doc.metadata.title = "harbour.rtf";
    doc.BeginBlock(BlockKind::Heading, 1);
    doc.AppendText("The Ferry");
    doc.BeginBlock();
    doc.AppendText("Chapter 2");
    doc.BeginBlock();
    doc.AppendText("Nobody got off at first, and the quay stayed empty until the lamps came on.");
    Tessaly::Docs::RefineForReading(doc);
    EXPECT_EQ(Headings(doc), (std::vector<Heading>{{"The Ferry", 1}}));
    EXPECT_EQ(doc.blocks.size(), 3u);
    EXPECT_EQ(doc.metadata.title, "The Ferry");
}

}  // namespace
