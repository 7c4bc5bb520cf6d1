// Headings drawn with markup of their own in plain text: titles over and between rules,
// hashes, frames and outline stars. The documents are our own, in the shapes that text
// renderers, reStructuredText, Texinfo and Markdown writers give them; the markup is the
// heading's and never reaches the text, and prose that only looks like such a heading stays
// prose.

#include <gtest/gtest.h>

#include <algorithm>

#include "doclib/structure/Refine.h"
#include "tests/doclib/structure/SampleProse.h"
#include "tests/doclib/structure/StagedText.h"

namespace {

using Tessaly::Docs::Document;
using namespace quillane::test;

std::string Prose(std::size_t k) {
    const auto prose = HarbourParagraphs();
    return HardWrap({prose[k % prose.size()]}, 72, false);
}

// Paragraphs between the given lines, as a text with the headings' own blank lines.
std::string Between(const std::vector<std::string>& blocks) {
    std::string text;
    std::size_t k = 0;
    for (const std::string& block : blocks) {
        text += block + "\n\n" + Prose(k++) + "\n";
    }
    return text;
}

TEST(ShapedHeadings, EveryShapeGivesItsHeadingAndLevel) {
    const struct {
        const char* shape;
        std::string text;
        std::vector<Heading> headings;
    } cases[] = {
        {"overline above underlines, ranked as they first appear",
         Between({"=============\n Harbour Log\n=============", "Arrivals\n--------",
                  "The ferry\n~~~~~~~~~", "Departures\n----------"}),
         {{"Harbour Log", 1}, {"Arrivals", 2}, {"The ferry", 3}, {"Departures", 2}}},
        {"numbered titles over rules of four marks, with node lines",
         "File: harbour.info,  Node: Top,  Next: Tides,  Up: (dir)\n\n" +
             Between({"1 Tides\n*******", "1.1 Spring tides\n================",
                      "1.1.1 Charts\n------------", "1.1.1.1 Old charts\n.................."}),
         {{"1 Tides", 1}, {"1.1 Spring tides", 2}, {"1.1.1 Charts", 3}, {"1.1.1.1 Old charts", 4}}},
        {"wide characters take two columns; rules in full-width and box-drawing marks",
         Between({"はじめに\n========", "港の朝\n――――――", "夜の船\n＝＝＝"}),
         {{"はじめに", 1}, {"港の朝", 2}, {"夜の船", 3}}},
        {"an outline star over dashes",
         Between({"* SUMMARY\n---------", "* DETAILS\n---------"}),
         {{"SUMMARY", 1}, {"DETAILS", 1}}},
        {"rules of one fixed width under every title",
         Between({"Arrivals\n" + std::string(60, '='), "Departures\n" + std::string(60, '='),
                  "Moorings\n" + std::string(60, '=')}),
         {{"Arrivals", 1}, {"Departures", 1}, {"Moorings", 1}}},
        {"hashes ranked by their count, a closing run and a hash that is the title's",
         Between({"## Tides ##", "# Harbour", "### The C# notes"}),
         {{"Tides", 2}, {"Harbour", 1}, {"The C# notes", 3}}},
        {"a lone hash line that names a chapter, under a page's own markup",
         "<div class=\"chapter\">\n\n# Chapter 2. Harbour pilots\n\n" + Prose(0) + "\n\n" +
             Prose(1),
         {{"Chapter 2. Harbour pilots", 1}}},
        {"hash lines with their text right under them, a lowercase name opening the document",
         "# harbourd\n\n" + Prose(0) + "\n## Installing\n" + Prose(1) +
             "\n## Running the harbour\n" + Prose(2) + "\n### Tides\n" + Prose(3) +
             "\n### Changes in this version:\n\n" + Prose(4),
         {{"harbourd", 1},
          {"Installing", 2},
          {"Running the harbour", 2},
          {"Tides", 3},
          {"Changes in this version:", 3}}},
        {"rubrics ranked by their numbers, one title going on below its first line",
         Between({".. rubric:: 2. Tides\n   :name: tides\n   :class: title",
                  ".. rubric:: 2.1. Spring tides and the\n   charts of the outer banks\n"
                  "   :name: spring-tides"}),
         {{"2. Tides", 1}, {"2.1. Spring tides and the charts of the outer banks", 2}}},
        {"beside underlined sections, only a rubric with an anchor is a heading",
         Between({"Tides\n=====", ".. rubric:: Footnotes", "Charts\n------",
                  "   .. rubric:: options", ".. rubric:: Spring tides\n   :name: spring-tides"}),
         {{"Tides", 1}, {"Charts", 2}, {"Spring tides", 1}}},
        {"backticks under a title are its underline, not a fence of code",
         Between({"Style sheets\n````````````", "Templates\n`````````"}),
         {{"Style sheets", 1}, {"Templates", 1}}},
        {"frames and full-width stars",
         Between({"=== Arrivals ===", "--- Departures ---", "＊ 港の朝", "＊ 夜の船"}),
         {{"Arrivals", 1}, {"Departures", 2}, {"港の朝", 3}, {"夜の船", 3}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Headings(Refined(c.text)), c.headings) << c.shape;
    }
}

TEST(ShapedHeadings, ProseThatOnlyLooksLikeAHeadingStaysProse) {
    const std::string wrapped = Prose(1);
    const std::string lastLine = wrapped.substr(wrapped.rfind('\n', wrapped.size() - 2) + 1);
    const struct {
        const char* shape;
        std::string text;
    } cases[] = {
        {"a rule under the last line of a paragraph",
         Prose(0) + "\n\n" + wrapped + std::string(lastLine.size() - 1, '-') + "\n\n" + Prose(2)},
        {"a rule under a sentence of its own",
         Prose(0) + "\n\nThe ferry was late again.\n-------------------------\n\n" + Prose(2)},
        {"a rule far longer than the line above it",
         Prose(0) + "\n\nNotes\n" + std::string(70, '=') + "\n\n" + Prose(2)},
        {"a comment in a shell snippet",
         Prose(0) + "\n\n# make install\nmake install\n\n" + Prose(2) +
             "\n\n# and the service\nsystemctl restart harbour\n\n" + Prose(3)},
        {"comments over commands, one ending in a colon",
         Prose(0) + "\n\n# Install the harbour tools:\n\nmake install\n\n" + Prose(2) +
             "\n\n# and the service\nsystemctl restart harbour\n\n" + Prose(3)},
        {"a lone hash line that does not open the document",
         Prose(0) + "\n\n# Harbour\n\n" + Prose(2)},
        {"starred acronyms spaced as a list",
         Prose(0) + "\n\n* NFS\n\n* SMB\n\n* HTTP\n\n" + Prose(2)},
        {"starred capitals one under another",
         Prose(0) + "\n\n* NORTH QUAY\n\n* SOUTH QUAY\n\n* EAST QUAY\n\n" + Prose(2)},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Headings(Refined(c.text)).empty()) << c.shape;
    }
}

// A word of the source that is only markup: a rule, a run of hashes or stars, a frame.
bool IsMarkup(const std::string& word) {
    return word.find_first_not_of("=-~^*.#+_") == std::string::npos || word == "\uFF0A" ||
           word.find("\u2015") == 0 || word.find("\uFF1D") == 0 || word.rfind("File:", 0) == 0;
}

TEST(ShapedHeadings, MarkupNeverReachesTheTextAndNoWordIsLost) {
    const std::string text =
        Between({"=============\n Harbour Log\n=============", "1 Tides\n*******",
                 "* SUMMARY\n---------", "# Notes", "## The C# notes ##",
                 "=== Arrivals ===", "＊ 港の朝", "＊ 夜の船", "港の朝\n――――――"}) +
        "\nThe ferry was late again.\n-------------------------\n";
    const Document doc = Refined(text);
    std::vector<std::string> expected;
    for (const std::string& word : WordsOf(text)) {
        if (!IsMarkup(word)) {
            expected.push_back(word);
        }
    }
    // The rule under a sentence is the author's, not a heading's: it stays.
    expected.push_back("-------------------------");
    std::vector<std::string> actual = WordsOf(doc);
    EXPECT_EQ(std::count(actual.begin(), actual.end(), "-------------------------"), 1);
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(actual, expected);
}

}  // namespace

namespace {

// The prose of the harbour story one paragraph a line, as a guide exported as text writes it.
std::string OneLine(std::size_t k) {
    const auto prose = HarbourParagraphs();
    return prose[k % prose.size()];
}

TEST(PlainHeadings, CapitalsAndShortLinesHeadTheirSections) {
    const std::string guide =
        "Harbour Office Guide\n\nContents\n\nArrivals\nDaily Work Task 1: Moorings Task 2: "
        "Tides\nClosing Up\n\nArrivals\n\n" +
        OneLine(0) + "\n\nDaily Work\n\n" + OneLine(1) + "\n\nTask 1: Moorings\n\n" + OneLine(2) +
        "\n\nTask 2: Tides\n\n" + OneLine(3) + "\n\nClosing Up\n\n" + OneLine(4) + "\n";
    EXPECT_EQ(Headings(Refined(guide)), (std::vector<Heading>{{"Harbour Office Guide", 1},
                                                              {"Arrivals", 1},
                                                              {"Daily Work", 1},
                                                              {"Task 1: Moorings", 2},
                                                              {"Task 2: Tides", 2},
                                                              {"Closing Up", 1}}));
    std::string capitals;
    for (std::size_t k = 0; k < 12; ++k) {
        capitals += (k == 0   ? "THE NORTH QUAY\n\n"
                     : k == 6 ? "THE LIGHTHOUSE\n\n"
                              : "") +
                    OneLine(k) + "\n\n";
    }
    EXPECT_EQ(Headings(Refined(capitals)),
              (std::vector<Heading>{{"THE NORTH QUAY", 1}, {"THE LIGHTHOUSE", 1}}));
}

TEST(PlainHeadings, ShortLinesOfProseAndListsStayText) {
    const struct {
        const char* shape;
        std::string text;
    } cases[] = {
        {"acronyms in capitals, one a line", Prose(0) + "\n\nNFS\nSMB\nHTTP\n\n" + Prose(1)},
        {"acronyms in capitals, spaced as a list",
         Prose(0) + "\n\nNFS SHARES\n\nSMB SHARES\n\nHTTP SHARES\n\n" + Prose(1)},
        {"a short line inside wrapped prose",
         Prose(0) + "\n\n" + Prose(1) + "\nharbour office\n" + Prose(2) + "\n\n" + Prose(3)},
        {"dialogue and a sentence, one paragraph a line",
         OneLine(0) + "\n\n\"Come in\"\n\n" + OneLine(1) + "\n\nShe waited.\n\n" + OneLine(2) +
             "\n\n" + OneLine(3) + "\n\n" + OneLine(4) + "\n\n" + OneLine(5)},
        {"a closing line that heads nothing", OneLine(0) + "\n\n" + OneLine(1) + "\n\n" +
                                                  OneLine(2) + "\n\n" + OneLine(3) + "\n\n" +
                                                  OneLine(4) + "\n\nHella Marsk"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(Headings(Refined(c.text)).empty()) << c.shape;
    }
}

// Sections numbered throughout, one paragraph a line: the bare short lines between them name
// the terms and boxes of a section, and a line that leads into the next ends a clause.
TEST(PlainHeadings, UnderNumberedSectionsABareShortLineHeadsNothing) {
    std::string text;
    for (std::size_t k = 1; k <= 5; ++k) {
        text += std::to_string(k) + ". Part " + std::to_string(k) + " of the harbour\n\n" +
                OneLine(k) + "\n\n" + OneLine(k + 1) + "\n\n";
    }
    text += "Main quay\n\n" + OneLine(0) + "\n\n水先案内人を呼ぶには、\n\n" + OneLine(1) +
            "\n\n6. Leaving port\n\n" + OneLine(2) + "\n";
    std::vector<Heading> expected;
    for (std::size_t k = 1; k <= 5; ++k) {
        expected.push_back(
            {std::to_string(k) + ". Part " + std::to_string(k) + " of the harbour", 1});
    }
    expected.push_back({"6. Leaving port", 1});
    EXPECT_EQ(Headings(Refined(text)), expected);
}

}  // namespace
