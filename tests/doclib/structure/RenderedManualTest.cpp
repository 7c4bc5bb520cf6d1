// Shapes that manuals rendered to text take around their headings and must not be read as
// headings: numbered steps inside a section, a navigation bar set as a table row, the terms of a
// definition list, and examples of markup inside a literal block. The texts are our own.

#include <gtest/gtest.h>

#include <algorithm>

#include "doclib/structure/Refine.h"
#include "tests/doclib/structure/SampleProse.h"
#include "tests/doclib/structure/StagedText.h"

namespace {

using namespace quillane::test;

std::string Wrapped(std::size_t k) {
    const auto prose = HarbourParagraphs();
    return HardWrap({prose[k % prose.size()]}, 72, false);
}

std::string Long(std::size_t k) {
    const auto prose = HarbourParagraphs();
    return prose[k % prose.size()];
}

TEST(RenderedManual, OnlyTheSectionsAreHeadings) {
    const struct {
        const char* shape;
        std::string text;
        std::vector<Heading> headings;
    } cases[] = {
        {"steps whose third wraps under a hanging indent, between two sections",
         "1. Moorings\n\n" + Wrapped(0) + "\n1.1. Tidying the quay\n\n" + Wrapped(1) +
             "\n1.  Walk to the end of the quay.\n\n2.  Count the ropes on each bollard.\n\n"
             "3.  Mark the ropes that are worn as \"~old\" and those that are new as\n"
             "    \"~new\"\n\n4.  Write the count in the log.\n\n1.2. Closing up\n\n" +
             Wrapped(2),
         {{"1. Moorings", 1}, {"1.1. Tidying the quay", 2}, {"1.2. Closing up", 2}}},
        {"steps that end in a full stop of CJK text",
         "6.3. 港口\n\n" + Wrapped(0) + "\n6.3.3. 地图\n\n" + Wrapped(1) +
             "\n1. 打开港口的地图。\n\n" + Wrapped(2) + "\n2. 选择一条航线。\n\n" + Wrapped(3) +
             "\n6.3.4. 航线\n\n" + Wrapped(0),
         {{"6.3. 港口", 1}, {"6.3.3. 地图", 3}, {"6.3.4. 航线", 3}}},
        {"a list that starts again at 1, paragraphs apart, before the next subsection",
         "3.2. Charts\n\n" + Wrapped(0) + "\n3.2.1. Old charts\n\n" + Wrapped(1) +
             "\n1. Harbour charts\n\n" + Wrapped(2) + "\n2. Tide tables\n\n" + Wrapped(3) +
             "\n3.2.2. New charts\n\n" + Wrapped(0),
         {{"3.2. Charts", 2}, {"3.2.1. Old charts", 3}, {"3.2.2. New charts", 3}}},
        {"a row of program output set in columns, numbered like the next chapter",
         "1. Arrays\n\n" + Wrapped(0) + "\n1.1. Checking\n\n" + Wrapped(1) +
             "\nNumber   Major   Minor   State\n\n2        8       48      faulty\n\n" + Wrapped(2),
         {{"1. Arrays", 1}, {"1.1. Checking", 2}}},
        {"a navigation bar set as a table row over the chapter's own line",
         "Harbour Handbook\n\n  Chapter 9. Tides          \n  ------------------ --- ---------\n"
         "  [Prev]                  [Next]\n\n" +
             std::string(72, '-') + "\n\nChapter 9. Tides\n\n" + Wrapped(0) +
             "\n9.1. Spring tides\n\n" + Wrapped(1),
         {{"Harbour Handbook", 1}, {"Chapter 9. Tides", 1}, {"9.1. Spring tides", 2}}},
        {"terms of a definition list over their inset descriptions, one paragraph a line",
         "Keeping the Log\n\n" + Long(0) + "\n\nRAID1\n\n    " + Long(1) + "\n\nMirror\n\n    " +
             Long(2) + "\n\nSpare Disk\n\n    " + Long(3) + "\n\nClosing the Office\n\n" + Long(4) +
             "\n\n" + Long(5) + "\n",
         {{"Keeping the Log", 1}, {"Closing the Office", 1}}},
        {"titles and rules shown as examples in a literal block",
         "Tides\n=====\n\n" + Wrapped(0) +
             "\nTitles are written like this::\n\n"
             "    Section Title\n    =============\n\n    Other Title\n    -----------\n\n" +
             Wrapped(1) + "\nCharts\n======\n\n" + Wrapped(2),
         {{"Tides", 1}, {"Charts", 1}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Headings(Refined(c.text)), c.headings) << c.shape;
    }
}

// A render that indents its body but not its headings breaks a long heading at its width.
TEST(RenderedManual, ALongHeadingTheWidthBrokeIsOneHeading) {
    const std::string body = HardWrap({Long(0), Long(1)}, 74, true, "   ");
    const std::string services =
        "Harbour Services: Moorings, Cranes, Fuel, Water, Pilots, Tugs, Customs";
    const struct {
        const char* shape;
        std::string text;
        std::vector<Heading> headings;
    } cases[] = {
        {"a chapter line broken after a comma",
         "Chapter 11. Harbour Services: Moorings, Cranes, Fuel, Water, Pilots, Tugs,\n"
         "Customs, Mail\n\n" +
             body + "\n11.1. Moorings\n\n" + body,
         {{"Chapter 11. " + services + ", Mail", 1}, {"11.1. Moorings", 2}}},
        {"a numbered section broken before its last words (the shape shows the wrap)",
         "1. Harbour Services\n\n" + body + "\n1.1. Moorings\n\n" + body +
             "\n1.1.1. Mooring Buoys Laid Along the Northern Breakwater of the Old Outer\n"
             "Harbour\n\n" +
             body,
         {{"1. Harbour Services", 1},
          {"1.1. Moorings", 2},
          {"1.1.1. Mooring Buoys Laid Along the Northern Breakwater of the Old Outer Harbour", 3}}},
        {"a chapter title that lists what it covers, on one line",
         "Chapter 4. " + services + ", Mail\n\n" + body + "\n4.1. Moorings\n\n" + body,
         {{"Chapter 4. " + services + ", Mail", 1}, {"4.1. Moorings", 2}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Headings(Refined(c.text)), c.headings) << c.shape;
    }
}

TEST(RenderedManual, ALiteralBlockKeepsItsLines) {
    for (const std::string intro :
         {"Titles are written like this::\n\n", ".. code-block:: rst\n   :linenos:\n\n"}) {
        const std::string text = "Tides\n=====\n\n" + Wrapped(0) + "\n" + intro +
                                 "    Section Title\n    =============\n\n" + Wrapped(1);
        const Tessaly::Docs::Document doc = Refined(text);
        const std::vector<std::string> blocks = BlockTexts(doc);
        EXPECT_NE(std::find(blocks.begin(), blocks.end(), "Section Title\n============="),
                  blocks.end())
            << intro;
        EXPECT_EQ(Headings(doc), (std::vector<Heading>{{"Tides", 1}})) << intro;
    }
}

}  // namespace
