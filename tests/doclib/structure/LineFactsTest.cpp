// The line scan's counts must not depend on the way a line is counted: a line of ASCII (the
// quick way) and the same line with one accented letter (the general way) differ by exactly
// that letter.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "doclib/structure/ChapterLine.h"
#include "doclib/structure/LineFacts.h"
#include "tests/doclib/structure/StagedText.h"

namespace {

using Tessaly::Docs::LineFacts;
using Tessaly::Docs::ScanLines;

LineFacts FactsOf(const std::string& line) {
    const auto doc = quillane::test::StagedDocument(line);
    const auto scan = ScanLines(doc);
    EXPECT_EQ(scan.lines.size(), 1u);
    return scan.lines.front();
}

void ExpectCountedAlike(const std::string& ascii) {
    SCOPED_TRACE(ascii);
    const std::size_t start = ascii.find_first_not_of(" \t");
    ASSERT_NE(start, std::string::npos);
    // "é" after the first letter: one column and one letter more in the first word.
    std::string accented = ascii;
    accented.insert(start + 1, "\xC3\xA9");
    const LineFacts quick = FactsOf(ascii);
    const LineFacts general = FactsOf(accented);
    EXPECT_EQ(quick.length + 1, general.length);
    EXPECT_EQ(quick.indent, general.indent);
    EXPECT_EQ(quick.words, general.words);
    EXPECT_EQ(quick.firstWord + 1, general.firstWord);
    EXPECT_EQ(quick.Has(Tessaly::Docs::kLinePreformatted),
              general.Has(Tessaly::Docs::kLinePreformatted));
}

TEST(LineFacts, AsciiLinesAreCountedAsTheGeneralWayCountsThem) {
    for (const char* line :
         {"a", "word", "two words", "  indented line", "\tafter a tab", "inner\ttab",
          "three   spaces", "four    spaces", "five     spaces", "a | b", "a | b | c", "x|y|z",
          "trailing blanks    ", "Chapter 1. Definitions and overview", "exactly.eight",
          "sixteen byte run", "* item with a bullet"}) {
        ExpectCountedAlike(line);
    }
}

TEST(LineFacts, GeneratedLinesAreCountedAlike) {
    const char* pieces[] = {"a", "word", " ", "  ", "    ", "\t", "|", ".", "-", "1."};
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    for (int round = 0; round < 300; ++round) {
        std::string line = "w";
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            line += pieces[pick(random)];
        }
        ExpectCountedAlike(line);
        if (HasFailure()) {
            break;
        }
    }
}

TEST(LineFacts, WordsAreCappedTheSameWayOnALongLine) {
    std::string line;
    for (int i = 0; i < 1500; ++i) {
        line += "ab ";
    }
    ExpectCountedAlike(line);
    EXPECT_EQ(FactsOf(line).words, 1000);
}

// The quick look-up by the first word's length and letter lets every division word through.
TEST(ChapterLine, EveryKindOfDivisionLineIsStillRecognised) {
    std::string scratch;
    for (const char* line :
         {"Chapter 1", "CHAPTER 12. The Storm", "chapter iv", "Part Two", "Vol. 3", "Book 2",
          "Kapitel 4", "Chapitre 5", "Capitolo 6", "Capítulo 7", "Hoofdstuk 8", "Rozdział 9",
          "Глава 5", "ГЛАВА 6", "Prologue", "Epilogue", "Tome 2", "Teil 3",
          // Only the start of a line is folded to find its word: long words on long lines.
          "ПРЕДИСЛОВИЕ. К РУССКОМУ ИЗДАНИЮ", "Avant-propos: De l'auteur",
          "Zwischenspiel \u2014 Ein Abend am Hafen"}) {
        EXPECT_TRUE(Tessaly::Docs::MatchChapterLine(line, scratch).has_value()) << line;
    }
    for (const char* line : {"Chapters of the book were read.", "The 3 chapters", "Parting words",
                             "Chapterhouse 1", "Предисловием к изданию служит письмо автора"}) {
        EXPECT_FALSE(Tessaly::Docs::MatchChapterLine(line, scratch).has_value()) << line;
    }
}

}  // namespace
