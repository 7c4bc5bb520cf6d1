// Pages of a web manual as text renderers dump them: the page's links and a navigation bar over
// the text, headings set apart by their indentation (sections at the margin, subsections two
// columns in, the text three) or framed by runs of stars that are longer the higher the heading,
// a bar of links and the neighbouring pages' titles under it. The pages are our own; the
// headings, their levels and the book's title are the page's, and the renderer's furniture stays
// text without heading anything.

#include <gtest/gtest.h>

#include <algorithm>

#include "doclib/structure/Refine.h"
#include "tests/doclib/structure/SampleProse.h"
#include "tests/doclib/structure/StagedText.h"

namespace {

using namespace quillane::test;

const std::string kPageNbsp = "\u00A0";
const std::string kLongTitle =
    "Chapter 3. Harbour pilots: signals, boarding, leaving port, tides, charts, knots, and logs";

std::string PageProse(std::size_t k, std::size_t width, const std::string& indent) {
    const auto prose = HarbourParagraphs();
    return HardWrap({prose[k % prose.size()]}, width, false, indent);
}

// A page with its sections at the margin, subsections two columns in and the text at three,
// blank lines between: a numbered list set deeper is the text's.
std::string IndentedPage() {
    std::string text =
        "   Link: [1]Harbour Manual (start)\n"
        "   Link: [2]Chapter 2. Tides and currents, and the charts of the outer banks and\n"
        "   reefs (previous)\n\n"
        "                                          Chapter 3. Harbour pilots\n"
        "   [3]Prev                                                [4]Next\n\n"
        "   " +
        std::string(60, '=') +
        "\n\n"
        "                    Chapter 3. Harbour pilots\n\n"
        "   Table of Contents\n\n"
        "   [5]3.1. Taking a pilot\n\n"
        "   [6]3.1.1. Signals\n\n"
        "   [7]3.2. Leaving port\n\n";
    text += PageProse(0, 72, "   ") + "\n";
    text += "3.1." + kPageNbsp + "Taking a pilot\n\n" + PageProse(1, 72, "   ") + "\n";
    text += "  3.1.1." + kPageNbsp + "Signals\n\n" + PageProse(2, 72, "   ") + "\n";
    text += "         1. Raise the flag\n\n         2. Sound the horn twice\n\n";
    text += "  3.1.2." + kPageNbsp + "Boarding\n\n" + PageProse(3, 72, "   ") + "\n";
    text += "3.2." + kPageNbsp + "Leaving port\n\n" + PageProse(4, 72, "   ") + "\n";
    text +=
        "   [8]Prev                                                [9]Next\n"
        "   Chapter 2. Tides               [10]Home          Chapter 4. Moorings\n";
    return text;
}

// A page without blank lines, its headings framed by stars, long ones closed on the next line.
std::string StarredPage() {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n\n\n"
        "Chapter 3. Harbour pilots\n"
        "[Prev]                      [Next]\n" +
        std::string(78, '=') + "\n****** Chapter 3. Harbour pilots ******\n";
    text += PageProse(0, 78, "");
    text += "***** 3.1. Taking a pilot *****\n" + PageProse(1, 78, "");
    text +=
        "**** 3.1.1. Signals the pilot boat gives when the weather closes in over the\n"
        "harbour mouth ****\n" +
        PageProse(2, 78, "");
    text +=
        "**** 3.1.2. What the harbour master writes in the book when a pilot comes aboard\n"
        "****\n" +
        PageProse(3, 78, "");
    text += "***** 3.2. Leaving port *****\n" + PageProse(4, 78, "");
    text += std::string(78, '=') + "\n[Prev]        [Up]        [Next]\n" +
            "Chapter 2. Tides[Home]  Chapter 4. Moorings\n";
    return text;
}

// A page without blank lines but in its listings: sections right under the last line of the
// text above, a full one that ends a sentence, or a line of a listing.
std::string UnspacedPage(const std::string& between) {
    std::string text =
        "Chapter 3. Harbour pilots: signals, boarding, leaving port, tides, charts,\n"
        "knots, and logs\n" +
        PageProse(0, 78, "");
    text += "3.1. Taking a pilot\n" + PageProse(1, 78, "");
    text += "3.1.1. Signals\n" + PageProse(2, 78, "") + "pilot-flag = G\n\nhorn-blasts = 2\n";
    text += "3.1.2. Boarding\n" + PageProse(3, 78, "") + between;
    text += "Nobody in the harbour office had ever seen the pilot boat leave without him.\n";
    text += "3.2. Leaving port\n" + PageProse(4, 78, "");
    return text;
}

// A manual's page whose headings open with an anchor, so the renderer frames none of them: a
// bar of links around the manual's name, a contents list set in from the text and no blank
// lines, a section right over its first subsection, a question the width broke, and a
// reference bound by no-break spaces opening the line after a heading.
std::string AnchoredPage() {
    const std::string nbsp = kPageNbsp;
    std::string text =
        "[Prev] [Up] Harbour Manual [Next]\n"
        "Chapter 3. Harbour pilots\n"
        "Table of Contents\n"
        "  3.1._Taking_a_pilot\n"
        "        3.1.1._Signals\n"
        "        3.1.2._Is_a_pilot_needed_when_the_tide_is_low_and_the_harbour_master_is\n"
        "        away_at_sea?\n"
        "  3.2._Leaving_port\n" +
        PageProse(0, 78, "");
    text += "3.1." + nbsp + "Taking a pilot\n3.1.1." + nbsp + "Signals\n" + PageProse(1, 78, "");
    text += "3.1.2." + nbsp +
            "Is a pilot needed when the tide is low and the harbour master is away at\n"
            "sea?\n" +
            PageProse(2, 78, "");
    text += "3.1.3." + nbsp +
            "May a pilot who has sailed the outer channel for twenty years board a\n"
            "ship at night without the harbour master's leave, when the weather closes in\n"
            "and the light on the mole is out?\n" +
            PageProse(4, 78, "");
    text += "3.2." + nbsp + "Leaving port\nSection" + nbsp +
            "3.1,_Taking_a_pilot_and_its_signals tells when to call one.\n" + PageProse(3, 78, "");
    return text;
}

// The same page with its chapter numbered as its sections are: the contents list wraps an entry
// at its own indentation, and a section follows a list of settings that ends in no sentence.
std::string NumberedAnchoredPage() {
    const std::string nbsp = kPageNbsp;
    std::string text =
        "[Prev] [Up] Harbour Manual [Next]\n"
        "3. Harbour pilots\n"
        "Table of Contents\n"
        "  3.1._Taking_a_pilot\n"
        "  3.2._What_the_harbour_master_writes_in_the_book_when_a_pilot_comes_aboard_at\n"
        "  night\n"
        "  3.3._Leaving_port\n" +
        PageProse(0, 78, "");
    text += "3.1." + nbsp + "Taking a pilot\n" + PageProse(1, 78, "");
    text += "3.2." + nbsp +
            "What the harbour master writes in the book when a pilot comes aboard at night\n" +
            PageProse(2, 78, "") +
            "The flags a pilot may fly at the mole are set in the harbour's own rules, as\n"
            "the book gives them: --flag=<G|H|Q> [default: G], --horn=<count> [default: 2]\n";
    text += "3.3." + nbsp + "Leaving port\n" + PageProse(3, 78, "");
    return text;
}

// The manual's last page: the bar at its foot holds one link, the title of the page it leads
// to under it.
std::string LastPage() {
    std::string text = "<?xml version=\"1.0\"?>\n\nChapter 3. Harbour pilots\nPrev" +
                       std::string(20, ' ') + "\n" + std::string(78, '=') +
                       "\n****** Chapter 3. Harbour pilots ******\n";
    text += PageProse(0, 78, "") + "***** 3.1. Taking a pilot *****\n" + PageProse(1, 78, "") +
            PageProse(2, 78, "") + PageProse(3, 78, "");
    const std::string nb = kPageNbsp;
    return text + std::string(78, '=') + "\nPrev" + nb + std::string(16, ' ') + nb + "   " + nb +
           " \nChapter" + nb + "2." + nb + "TidesHome " + nb + " \n";
}

// Questions and answers, the questions listed first: a question of two sentences, or one
// ending in a full stop, the width broke over two lines.
std::string QuestionsPage() {
    std::string text =
        "Harbour questions\nTable of Contents\n  1._How_do_I_call_a_pilot?\n"
        "  2._My_pilot_boat_will_not_start._I_have_checked_the_fuel,_and_the_tank_is_full,\n"
        "  so_what_is_wrong?\n"
        "  3._I_have_a_boat_with_a_grey_hull_and_the_harbour_master_will_not_let_it_moor\n"
        "  at_the_mole.\n";
    text += "1. How do I call a pilot?\n" + PageProse(0, 78, "");
    text +=
        "2. My pilot boat will not start. I have checked the fuel, and the tank is full, so\n"
        "what is wrong?\n" +
        PageProse(1, 78, "");
    text +=
        "3. I have a boat with a grey hull and the harbour master will not let it moor at\n"
        "the mole.\n" +
        PageProse(2, 78, "");
    return text;
}

// Numbered sections without blank lines, the parts of the first titled under it where the
// numbers stop, each title between a finished sentence and a new paragraph.
std::string UnnumberedPartsPage(const std::string& first, const std::string& second) {
    return "4. Harbour pilots\n" + PageProse(0, 78, "") + "4.1. Taking a pilot\n" +
           PageProse(1, 78, "") + first + "\n" + PageProse(2, 78, "") + second + "\n" +
           PageProse(3, 78, "") + "4.2. Leaving port\n" + PageProse(4, 78, "");
}

// Sections right under the text: a chapter's number under the last line of an item of a
// list set in, a line the width filled; and a chapter whose own line the text lost (5.).
std::string ListThenChapterPage() {
    return "3. Harbour pilots\n" + PageProse(0, 78, "") + "3.1. Taking a pilot\n" +
           PageProse(1, 78, "") + "3.2. Leaving port\n" + PageProse(2, 78, "") +
           "The pilot brings:\n    * a lamp, a chart and the book of the tides for the month, as\n"
           "      the harbour master asks when the weather closes in over the outer banks.\n"
           "4. Moorings\n4.1. Ropes\n" +
           PageProse(3, 78, "") + "4.2. Knots\n" + PageProse(4, 78, "") + "5.1. Chains\n" +
           PageProse(5, 78, "") + "5.2. Anchors\n" + PageProse(6, 78, "");
}

// A page of a manual's news, cut from the middle of the manual: its own heading under a bar
// of links, numbered where the manual stands.
std::string NewsPage() {
    return "[Prev] [Up] [Up] Harbour Documents [Next]\n4. Harbour news\n\n" + PageProse(0, 72, "") +
           "\n" + PageProse(1, 72, "") + "\n" + PageProse(2, 72, "");
}

// A page of the pilots' manual: its head and contents as `head` gives them, then its sections,
// blank lines around their headings or none; `beforeLast` ends the text above the last one.
std::string PilotPage(const std::string& head, bool blankLines,
                      const std::vector<std::string>& sections = {"Signals at night",
                                                                  "Boarding from the pilot boat",
                                                                  "Leaving port"},
                      const std::string& beforeLast = "") {
    const std::string gap = blankLines ? "\n" : "";
    std::string text = head + PageProse(0, 78, "");
    for (std::size_t k = 0; k < sections.size(); ++k) {
        text += (k + 1 == sections.size() ? beforeLast : "") + gap + sections[k] + "\n" + gap +
                PageProse(k + 1, 78, "");
    }
    return text;
}

// Its heading carries no number: its copy over a bar of links and a rule, then the heading
// and the links to its sections, one link a line, spaces written as underscores.
std::string UnnumberedSectionsPage() {
    return PilotPage("       Taking a pilot\n[Prev] Harbour pilots  [Next]\n" +
                         std::string(78, '=') +
                         "\nTaking a pilot\n  Signals_at_night\n  Boarding_from_the_pilot_boat\n"
                         "  Leaving_port\n",
                     false);
}

// Links of two words each (languages that join their words) over the sections; the last
// section under a line of a program's call that runs to the margin.
std::string TwoWordLinksPage() {
    return PilotPage(
        "       Luotsinotto\n[Prev] Harbour pilots  [Next]\n" + std::string(78, '=') +
            "\nLuotsinotto\n  Yön_merkit\n  Luotsiveneestä_nousu\n  Satamasta_lähtö\n",
        false, {"Yön merkit", "Luotsiveneestä nousu", "Satamasta lähtö"},
        "harbour-log --berth=north --tide=high --pilot=aboard --night --keep=/var/log\n");
}

// Numbered sections right under the text, each number bound to its title by a no-break space
// the width cannot cut: a long section title over its first subsection, a subsection under a
// list item of one long link, and a chapter whose only section is a few lines long.
std::string BoundNumbersPage() {
    const std::string nb = kPageNbsp;
    return "3." + nb + "Harbour pilots\n3.1." + nb + "Taking a pilot\n" + PageProse(0, 80, "") +
           "3.2." + nb + "Where the harbour master keeps the book of pilots and of their boats\n" +
           "3.2.1." + nb + "the outer banks\n" + PageProse(1, 80, "") +
           "The charts of the banks are kept at:\n"
           "    * https://harbour.example.org/charts/current/outer-banks/north-mole/\n" +
           "3.2.2." + nb + "The mole\n" + PageProse(2, 80, "") + "4." + nb + "Moorings\n" +
           "Ropes are kept in the shed.\n4.1." + nb + "Ropes\nEach rope is coiled.\n5." + nb +
           "Tides\n" + PageProse(3, 80, "");
}

// As a converter writes it, one paragraph a block: the bar a table under the copy of the
// heading, each entry of the contents a paragraph of its own.
std::string SpacedContentsPage() {
    return PilotPage(
        "  Taking a pilot\n  -------------- -------------- ------\n"
        "  [Prev]         Harbour pilots [Next]\n\n" +
            std::string(78, '-') +
            "\n\nTaking a pilot\n\nSignals at night\n\nBoarding from the pilot "
            "boat\n\nLeaving port\n\n",
        true);
}

// From a renderer that drops the brackets of links: its bar is a line of words, its contents
// a block of lines.
std::string BlockContentsPage() {
    return PilotPage(
        "                         Taking a pilot\n"
        "Prev                    Harbour pilots                    Next\n\n" +
            std::string(78, '=') +
            "\n\nTaking a pilot\n\nSignals at night\nBoarding from the pilot boat\n"
            "Leaving port\n\n",
        true);
}

// A page as a renderer writes it that lists the page's links first, all on one line the width
// carries on, and indents the text: the heading's copy over a bar of links the width broke.
std::string LinkListPage() {
    return "   #[1]Harbour Manual [2]Chapter 3. Harbour pilots [3]3.1. Taking a pilot [4]3.3.\n"
           "   Moorings\n\n"
           "   3.2. Leaving port\n"
           "   [5]Prev   Chapter 3. Harbour pilots, signals, boarding, leaving port and\n"
           "   tides  [6] Next\n"
           "     ______________________________________________________________\n\n"
           "3.2. Leaving port\n\n" +
           PageProse(0, 72, "   ") + "\n3.2.1. The outer banks\n\n" + PageProse(1, 72, "   ") +
           "\n3.2.2. The mole\n\n" + PageProse(2, 72, "   ");
}

// A chapter's page in a script without capitals: the chapter line the width broke over the
// links to its sections, of which the page holds the first three; a section's long title
// near the margin, under a finished sentence.
std::string ChapterOfAHandbookPage() {
    std::string text =
        "Download_the_ebook\n"
        "    * Prev\n"
        "    * 港の手引き\n"
        "    * Next\n"
        "第 12 章 港の仕事、水先案内人、信号、乗船、出港、潮、海図、結び目、航海日誌、\n"
        "夜の当直\n"
        "  12.1._水先案内\n"
        "        12.1.1._夜の信号\n"
        "        12.1.2._乗船\n"
        "  12.2._出港\n"
        "  12.3._潮\n" +
        PageProse(0, 78, "");
    text += "12.1.\u00A0水先案内\n" + PageProse(1, 78, "");
    text += "12.1.1.\u00A0夜の信号\n" + PageProse(2, 78, "");
    text +=
        "12.1.2.\u00A0乗船 when the weather closes in over the outer banks and the mole\n"
        "The pilot boat comes alongside on the lee side, and the pilot climbs the ladder.\n" +
        PageProse(3, 78, "");
    return text;
}

// A page whose headings carry no number, set left of the text's margin: sections at the
// margin, subsections two columns in, the text at three; a program's output set flush
// between them.
std::string OutdentedPage() {
    const auto inset = [](std::size_t k) {
        std::string lines = "   " + PageProse(k, 69, "");
        for (std::size_t at = lines.find('\n'); at + 1 < lines.size();
             at = lines.find('\n', at + 1)) {
            lines.insert(at + 1, "   ");
        }
        return lines;
    };
    std::string text =
        "                         The Harbour Pilots' Guide\n\n"
        "Copyright (C) 2021 Hella Oss\n\n" +
        inset(0) + "\nTaking a pilot\n\n" + inset(1) + "\n  Signals\n\n" + inset(2);
    text += "\nTide Height : 4 m\n\n   Berth : north\n\n  Boarding at night\n\n" + inset(3) +
            "\nLeaving port\n\n" + inset(4);
    return text;
}

TEST(RenderedPage, HeadingsLevelsAndTitleAreThePages) {
    const struct {
        const char* shape;
        std::string text;
        std::vector<Heading> headings;
        std::string title;
    } cases[] = {
        {"sections outdented from the text, a list set deeper",
         IndentedPage(),
         {{"Chapter 3. Harbour pilots", 1},
          {"3.1. Taking a pilot", 2},
          {"3.1.1. Signals", 3},
          {"3.1.2. Boarding", 3},
          {"3.2. Leaving port", 2}},
         "Chapter 3. Harbour pilots"},
        {"titles framed by stars, no blank lines",
         StarredPage(),
         {{"Chapter 3. Harbour pilots", 1},
          {"3.1. Taking a pilot", 2},
          {"3.1.1. Signals the pilot boat gives when the weather closes in over the harbour "
           "mouth",
           3},
          {"3.1.2. What the harbour master writes in the book when a pilot comes aboard", 3},
          {"3.2. Leaving port", 2}},
         "Chapter 3. Harbour pilots"},
        {"sections right under the text, no blank lines, a chapter's title over two lines",
         UnspacedPage(""),
         {{kLongTitle, 1},
          {"3.1. Taking a pilot", 2},
          {"3.1.1. Signals", 3},
          {"3.1.2. Boarding", 3},
          {"3.2. Leaving port", 2}},
         kLongTitle},
        {"headings with anchors: no frames, no blank lines, a bar of links around a name",
         AnchoredPage(),
         {{"Chapter 3. Harbour pilots", 1},
          {"3.1. Taking a pilot", 2},
          {"3.1.1. Signals", 3},
          {"3.1.2. Is a pilot needed when the tide is low and the harbour master is away at sea?",
           3},
          {"3.1.3. May a pilot who has sailed the outer channel for twenty years board "
           "a ship at night without the harbour master's leave, when the weather closes in and "
           "the light on the mole is out?",
           3},
          {"3.2. Leaving port", 2}},
         "Chapter 3. Harbour pilots"},
        {"a numbered chapter over its contents list, sections under settings",
         NumberedAnchoredPage(),
         {{"3. Harbour pilots", 1},
          {"3.1. Taking a pilot", 2},
          {"3.2. What the harbour master writes in the book when a pilot comes aboard at night", 2},
          {"3.3. Leaving port", 2}},
         "3. Harbour pilots"},
        {"the last page, the bar at its foot one link over the previous page's title",
         LastPage(),
         {{"Chapter 3. Harbour pilots", 1}, {"3.1. Taking a pilot", 2}},
         "Chapter 3. Harbour pilots"},
        {"listed questions the width broke, a sentence inside or a full stop at the end",
         QuestionsPage(),
         {{"Harbour questions", 1},
          {"1. How do I call a pilot?", 1},
          {"2. My pilot boat will not start. I have checked the fuel, and the tank is full, so "
           "what is wrong?",
           1},
          {"3. I have a boat with a grey hull and the harbour master will not let it moor at the "
           "mole.",
           1}},
         "Harbour questions"},
        {"titles among the lines where the numbers stop",
         UnnumberedPartsPage("Signals at night", "Boarding from the pilot boat"),
         {{"4. Harbour pilots", 1},
          {"4.1. Taking a pilot", 2},
          {"Signals at night", 3},
          {"Boarding from the pilot boat", 3},
          {"4.2. Leaving port", 2}},
         "4. Harbour pilots"},
        {"boxes labelled in capitals among the lines, which head nothing",
         UnnumberedPartsPage("TIP Signals at night", "BACK TO BASICS The pilot boat"),
         {{"4. Harbour pilots", 1}, {"4.1. Taking a pilot", 2}, {"4.2. Leaving port", 2}},
         "4. Harbour pilots"},
        {"a chapter under an item of a list, sections of a chapter whose line is lost",
         ListThenChapterPage(),
         {{"3. Harbour pilots", 1},
          {"3.1. Taking a pilot", 2},
          {"3.2. Leaving port", 2},
          {"4. Moorings", 1},
          {"4.1. Ropes", 2},
          {"4.2. Knots", 2},
          {"5.1. Chains", 2},
          {"5.2. Anchors", 2}},
         "page"},
        {"reStructuredText of a page: a banner's container, its link, the heading a rubric",
         ".. container::\n   :name: banner\n\n   `Download the logbook "
         "<https://example.org/get/>`__"
         "\n\n.. container:: chapter\n\n   .. rubric:: Chapter 3. Harbour pilots\n"
         "      :name: chapter-3\n      :class: title\n\n" +
             PageProse(0, 78, "") + "\n" + PageProse(1, 78, ""),
         {{"Chapter 3. Harbour pilots", 1}},
         "Chapter 3. Harbour pilots"},
        {"a page that opens under its bar of links, numbered mid-manual",
         NewsPage(),
         {{"4. Harbour news", 1}},
         "4. Harbour news"},
        {"a page of an appendix under a bar of links written as their words",
         "Prev   Up   Next\n" + std::string(78, '=') + "\nA.2. Harbour signals\n" +
             PageProse(0, 78, "") + PageProse(1, 78, "") + std::string(78, '=') + "\nPrev" +
             std::string(40, ' ') + "Next\nChapter 2. BoardingHome " + kPageNbsp +
             " Chapter 4. Moorings\n",
         {{"A.2. Harbour signals", 1}},
         "A.2. Harbour signals"},
        {"an unnumbered page heading under its bar, its sections listed as links",
         UnnumberedSectionsPage(),
         {{"Taking a pilot", 1},
          {"Signals at night", 2},
          {"Boarding from the pilot boat", 2},
          {"Leaving port", 2}},
         "Taking a pilot"},
        {"links of two words, the last section under a call at the margin",
         TwoWordLinksPage(),
         {{"Luotsinotto", 1},
          {"Yön merkit", 2},
          {"Luotsiveneestä nousu", 2},
          {"Satamasta lähtö", 2}},
         "Luotsinotto"},
        {"numbers bound to their titles, which seem to leave the line above cut",
         BoundNumbersPage(),
         {{"3. Harbour pilots", 1},
          {"3.1. Taking a pilot", 2},
          {"3.2. Where the harbour master keeps the book of pilots and of their boats", 2},
          {"3.2.1. the outer banks", 3},
          {"3.2.2. The mole", 3},
          {"4. Moorings", 1},
          {"4.1. Ropes", 2},
          {"5. Tides", 1}},
         "page"},
        {"the same, its contents one paragraph an entry, its bar a table",
         SpacedContentsPage(),
         {{"Taking a pilot", 1},
          {"Signals at night", 2},
          {"Boarding from the pilot boat", 2},
          {"Leaving port", 2}},
         "Taking a pilot"},
        {"the same, its bar without brackets, its contents a block of lines",
         BlockContentsPage(),
         {{"Taking a pilot", 1},
          {"Signals at night", 2},
          {"Boarding from the pilot boat", 2},
          {"Leaving port", 2}},
         "Taking a pilot"},
        {"the page's links listed on its first lines, a bar the width broke",
         LinkListPage(),
         {{"3.2. Leaving port", 1}, {"3.2.1. The outer banks", 2}, {"3.2.2. The mole", 2}},
         "3.2. Leaving port"},
        {"a wrapped chapter line over the links to sections the page holds only some of",
         ChapterOfAHandbookPage(),
         {{"第 12 章 港の仕事、水先案内人、信号、乗船、出港、潮、海図、結び目、航海日誌、夜の当直",
           1},
          {"12.1. 水先案内", 2},
          {"12.1.1. 夜の信号", 3},
          {"12.1.2. 乗船 when the weather closes in over the outer banks and the mole", 3}},
         "第 12 章 港の仕事、水先案内人、信号、乗船、出港、潮、海図、結び目、航海日誌、夜の当直"},
        {"unnumbered headings left of the text's margin, ranked by how far left",
         OutdentedPage(),
         {{"The Harbour Pilots' Guide", 1},
          {"Taking a pilot", 2},
          {"Signals", 3},
          {"Boarding at night", 3},
          {"Leaving port", 2}},
         "The Harbour Pilots' Guide"},
        {"short lines between blank lines, the only headings of a wrapped page",
         "Taking a pilot\n\n" + PageProse(0, 72, "") + "\nSignals at night\n\n" +
             PageProse(1, 72, "") + "\n" + PageProse(2, 72, "") + "\nLeaving port\n\n" +
             PageProse(3, 72, ""),
         {{"Taking a pilot", 1}, {"Signals at night", 1}, {"Leaving port", 1}},
         "page"},
        {"numbered sections and a box's title between them, which heads nothing",
         "1. Taking a pilot\n\n" + PageProse(0, 72, "") + "\nTip for the night\n\n" +
             PageProse(1, 72, "") + "\n2. Signals\n\n" + PageProse(2, 72, "") +
             "\nA word on the tides\n\n" + PageProse(3, 72, "") + "\n3. Leaving port\n\n" +
             PageProse(4, 72, ""),
         {{"1. Taking a pilot", 1}, {"2. Signals", 1}, {"3. Leaving port", 1}},
         "page"},
        {"a number that opens a line of a wrapped sentence",
         UnspacedPage("The pilot keeps his own notes on the tides, and he reads them as section\n"
                      "3.1.3. Of his logbook each morning\n"),
         {{kLongTitle, 1},
          {"3.1. Taking a pilot", 2},
          {"3.1.1. Signals", 3},
          {"3.1.2. Boarding", 3},
          {"3.2. Leaving port", 2}},
         kLongTitle},
    };
    for (const auto& c : cases) {
        const auto doc = Refined(c.text, "page.txt");
        std::vector<Heading> found = Headings(doc);
        for (Heading& h : found) {
            for (std::size_t at = h.text.find(kPageNbsp); at != std::string::npos;
                 at = h.text.find(kPageNbsp)) {
                h.text.replace(at, kPageNbsp.size(), " ");
            }
        }
        EXPECT_EQ(found, c.headings) << c.shape;
        EXPECT_EQ(doc.metadata.title, c.title) << c.shape;
    }
}

TEST(RenderedPage, TheRenderersFurnitureStaysText) {
    for (const std::string& text : {IndentedPage(), StarredPage()}) {
        const auto blocks = BlockTexts(Refined(text, "page.txt"));
        const auto has = [&](std::string_view words) {
            return std::any_of(blocks.begin(), blocks.end(), [&](const std::string& b) {
                return b.find(words) != std::string::npos;
            });
        };
        EXPECT_TRUE(has("Chapter 4. Moorings"));
        EXPECT_TRUE(has("[Prev]") || has("[3]Prev"));
        EXPECT_EQ(has("Link: [1]Harbour Manual (start)"), text == IndentedPage());
        // The stars are the headings' markup, never their text.
        EXPECT_FALSE(has("***"));
    }
}

TEST(RenderedPage, ProseThatOnlyLooksLikeThePagesShapesStaysProse) {
    const struct {
        const char* shape;
        std::string text;
    } cases[] = {
        {"one line framed by stars",
         PageProse(0, 78, "") + "** Keep clear of the quay **\n" + PageProse(1, 78, "")},
        {"a line opening with stars that the next line does not close",
         PageProse(0, 78, "") + "** Keep clear of the quay\n" + PageProse(1, 78, "") +
             "** Mind the ropes **\n" + PageProse(2, 78, "")},
        {"short lines at the top, not all of which come back as lines of their own",
         "Harbour office\nQuay Street 4\nOstrand\n\n" + PageProse(0, 72, "") + "\nOstrand\n\n" +
             PageProse(1, 72, "") + "\nQuay Street 4\n\n" + PageProse(2, 72, "")},
        {"a link line and a bar of links over the text",
         "[1]Download the logbook\n\n[2]Prev   [3]Next\n\n" + PageProse(0, 72, "") + "\n" +
             PageProse(1, 72, "")},
    };
    for (const auto& c : cases) {
        const auto doc = Refined(c.text, "page.txt");
        EXPECT_TRUE(Headings(doc).empty()) << c.shape;
        EXPECT_EQ(doc.metadata.title, "page") << c.shape;
    }
}

}  // namespace
