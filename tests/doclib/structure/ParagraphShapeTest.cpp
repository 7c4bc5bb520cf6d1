// Paragraph shape of staged plain text: hard-wrapped, one paragraph a line, indented, and the
// false friends (verse, lists, code, tables) that must keep their line breaks. Every case also
// checks that no word is lost, added or moved.

#include <gtest/gtest.h>

#include <algorithm>

#include "doclib/structure/Refine.h"
#include "tests/doclib/structure/SampleProse.h"
#include "tests/doclib/structure/StagedText.h"

namespace {

using Tessaly::Docs::BlockKind;
using Tessaly::Docs::Document;
using namespace quillane::test;

std::vector<std::string> JoinedParagraphs() {
    std::vector<std::string> out;
    for (const std::string& p : HarbourParagraphs()) {
        std::string joined;
        for (const std::string& w : WordsOf(p)) {
            joined += (joined.empty() ? "" : " ") + w;
        }
        out.push_back(joined);
    }
    return out;
}

std::string JoinedWords(const std::string& text) {
    std::string joined;
    for (const std::string& w : WordsOf(text)) {
        joined += (joined.empty() ? "" : " ") + w;
    }
    return joined;
}

void ExpectSameWords(std::string_view input, const Document& doc) {
    EXPECT_EQ(WordsOf(input), WordsOf(doc));
}

TEST(HardWrappedText, BlankSeparatedParagraphsAreJoined) {
    for (std::size_t width : {60u, 72u, 80u}) {
        const std::string text = HardWrap(HarbourParagraphs(), width);
        const Document doc = Refined(text);
        EXPECT_EQ(BlockTexts(doc), JoinedParagraphs()) << "width " << width;
        ExpectSameWords(text, doc);
    }
}

TEST(HardWrappedText, IndentedParagraphsWithoutBlankLinesAreFound) {
    const std::string text = HardWrap(HarbourParagraphs(), 70, false, "    ");
    const Document doc = Refined(text);
    EXPECT_EQ(BlockTexts(doc), JoinedParagraphs());  // the indent is layout and goes
    ExpectSameWords(text, doc);

    const std::string tabbed = HardWrap(HarbourParagraphs(), 66, false, "\t");
    EXPECT_EQ(BlockTexts(Refined(tabbed)), JoinedParagraphs());
}

TEST(HardWrappedText, HyphenAtLineEndIsKeptAndJoinedTightly) {
    std::string text = HardWrap({HarbourParagraphs()[0]}, 72);
    text +=
        "\nThe harbour master was a figure of some standing on the island, a well-\n"
        "known face at every wedding and every funeral on the coast, and some-\n"
        "thing of a legend among the younger crews, who had heard her stories of\n"
        "the north a hundred times and still asked for them again.\n";
    const Document doc = Refined(text);
    ASSERT_EQ(doc.blocks.size(), 2u);
    EXPECT_EQ(BlockTexts(doc)[1],
              "The harbour master was a figure of some standing on the island, a well-known "
              "face at every wedding and every funeral on the coast, and some-thing of a "
              "legend among the younger crews, who had heard her stories of the north a "
              "hundred times and still asked for them again.");
}

TEST(HardWrappedText, VerseListCodeAndTableInsideProseKeepTheirBreaks) {
    const std::vector<std::string> prose = HarbourParagraphs();
    std::string text = HardWrap({prose[0], prose[1]}, 72);
    const std::string verse =
        "Grey gull over the grey swell,\n"
        "Carry the news I cannot tell;\n"
        "Over the breakwater, over the bar,\n"
        "Say to the mainland where we are.\n";
    const std::string list =
        "- two sacks of flour\n"
        "- a tin of cardamom\n"
        "- matches and lamp oil\n";
    const std::string code =
        "int tide(int hour) {\n"
        "    return (hour * 7) % 12;\n"
        "}\n";
    const std::string table =
        "Month      Ferries    Passengers\n"
        "March           12           340\n"
        "April           15           410\n";
    text += "\n" + verse + "\n" + list + "\n" + code + "\n" + table + "\n" +
            HardWrap({prose[2], prose[3]}, 72);
    const Document doc = Refined(text);
    const std::vector<std::string> blocks = BlockTexts(doc);
    ASSERT_EQ(blocks.size(), 10u);
    EXPECT_EQ(blocks[0], JoinedParagraphs()[0]);
    auto keptLines = [](std::string s) {
        s.pop_back();  // the last line break of the sample
        return s;
    };
    EXPECT_EQ(blocks[2], keptLines(verse));
    // The list's lines are its items, each with its marker.
    EXPECT_EQ(blocks[3], "- two sacks of flour");
    EXPECT_EQ(blocks[5], "- matches and lamp oil");
    EXPECT_EQ(doc.blocks[4].kind, BlockKind::ListItem);
    EXPECT_EQ(blocks[6], keptLines(code));  // the code keeps its indentation too
    EXPECT_EQ(blocks[7], keptLines(table));
    EXPECT_EQ(blocks[9], JoinedParagraphs()[3]);
    ExpectSameWords(text, doc);
}

TEST(HardWrappedText, SettingsOfAConfigurationFileAreNotJoined) {
    // A render sets a configuration file flush with the prose; its lines reach the wrap.
    const std::vector<std::string> prose = HarbourParagraphs();
    const std::string text =
        HardWrap({prose[0]}, 72) + "\n" +
        "# Uncomment the next line to have the harbour log sent by mail at dawn\n"
        "#harbour_log_mail_time = 5h\n\n"
        "relay_host_of_the_harbour_office = [mail.harbour.example]\n"
        "harbour_log_level=debug\n\n"
        "mydestination = harbour.example, quay.harbour.example, localhost.localdomain\n"
        "relayhost =\n\n" +
        HardWrap({prose[1]}, 72);
    const Document doc = Refined(text);
    ExpectSameWords(text, doc);
    const std::vector<std::string> blocks = BlockTexts(doc);
    EXPECT_EQ(blocks.front(), JoinedParagraphs()[0]);
    EXPECT_EQ(blocks.back(), JoinedParagraphs()[1]);
    for (const std::string& block : blocks) {
        EXPECT_EQ(block.find("dawn #harbour"), std::string::npos) << block;
        EXPECT_EQ(block.find("example] harbour"), std::string::npos) << block;
        EXPECT_EQ(block.find("localdomain relayhost"), std::string::npos) << block;
    }
}

TEST(HardWrappedText, LinesWrappedByHandShortOfTheWidthAreJoined) {
    // A README wrapped in an editor: lines end where the writer chose, some well short of the
    // width; a comment over a command below it keeps its lines.
    const std::vector<std::string> prose = HarbourParagraphs();
    const std::string byHand =
        "The harbour office keeps a ledger of every boat that comes in with\n"
        "the tide, and of what it carries, and the clerk copies\n"
        "the ledger out again each winter for the archive in the town hall.";
    const std::string commands =
        "# Copy the ledger for the winter\n"
        "ledger --open winter --copy-to archive/town-hall --keep-lines\n"
        "ledger --close";
    const std::string text = HardWrap({prose[0]}, 72) + "\n" + byHand + "\n\n" + commands + "\n\n" +
                             HardWrap({prose[1]}, 72);
    const Document doc = Refined(text);
    ExpectSameWords(text, doc);
    const std::vector<std::string> blocks = BlockTexts(doc);
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[1], JoinedWords(byHand));
    EXPECT_EQ(blocks[2], commands);
}

TEST(MarkdownAsText, ParagraphsAreTheirGroupsAndFencedCodeKeepsItsLines) {
    // Markdown in a text file, one sentence a line as some write it: each group between blank
    // lines is one paragraph, but a fenced block (even right under a paragraph), an indented
    // block and a list keep their lines.
    const std::string text =
        "# harbourd\n\n"
        "The harbour daemon keeps the ledger.\nIt runs on the office machine.\n\n"
        "## Building\n\n"
        "To build it, run:\n"
        "```sh\nmake\nmake install\n```\n\n"
        "    make check\n    make dist\n\n"
        "## Running\n\n"
        "- start it at dawn\n- stop it at dusk\n\n"
        "## Stopping\n\nIt stops by itself\nwhen the tide is out.\n";
    const Document doc = Refined(text);
    const std::vector<std::string> blocks = BlockTexts(doc);
    const auto has = [&](const std::string& block) {
        return std::find(blocks.begin(), blocks.end(), block) != blocks.end();
    };
    EXPECT_TRUE(has("The harbour daemon keeps the ledger. It runs on the office machine."));
    EXPECT_TRUE(has("It stops by itself when the tide is out."));
    EXPECT_TRUE(has("```sh\nmake\nmake install\n```")) << ::testing::PrintToString(blocks);
    EXPECT_TRUE(has("make check\nmake dist")) << ::testing::PrintToString(blocks);
    EXPECT_TRUE(has("- start it at dawn"));
}

TEST(HardWrappedText, TablesSetWithBarsKeepTheirRows) {
    const std::vector<std::string> prose = HarbourParagraphs();
    const std::string spaced =
        "| Month | Ferries | Passengers |\n"
        "| March | 12 | 340 |\n"
        "| April | 15 | 410 |\n";
    const std::string tight =
        "|Month|Ferries|\n"
        "|March|12|\n"
        "|April|15|\n";
    const std::string text = HardWrap({prose[0], prose[1]}, 72) + "\n" + spaced + "\n" + tight +
                             "\n" + HardWrap({prose[2], prose[3]}, 72);
    const std::vector<std::string> blocks = BlockTexts(Refined(text));
    ASSERT_EQ(blocks.size(), 6u);
    EXPECT_EQ(blocks[2] + "\n", spaced);
    EXPECT_EQ(blocks[3] + "\n", tight);
}

TEST(HardWrappedText, ParagraphEndingShortLineIsNotJoinedToTheNext) {
    // Without blank lines or indents, a short last line ends the paragraph.
    const std::string text = HardWrap(HarbourParagraphs(), 72, false);
    const Document doc = Refined(text);
    ExpectSameWords(text, doc);
    EXPECT_GE(doc.blocks.size(), 6u);  // a paragraph may end on a full line and run on
    EXPECT_LE(doc.blocks.size(), HarbourParagraphs().size());
}

TEST(HardWrappedText, LongerLinesOfAnotherKindDoNotHideTheWrap) {
    // A manual as its reader writes it: a long navigation line over every node, numbered titles
    // underlined with dots, the prose wrapped at 66 columns below them.
    const std::vector<std::string> prose = HarbourParagraphs();
    std::string text;
    for (std::size_t i = 0; i < prose.size(); ++i) {
        const std::string number = "1." + std::to_string(i + 1);
        if (i % 2 == 1) {
            text += HardWrap({prose[i]}, 66) + "\n";  // two paragraphs a node
            continue;
        }
        text += "File: harbour.info,  Node: Part " + number +
                ",  Next: The next part of the story,  Up: The harbour and its people\n\n";
        const std::string title = number + " The part of the harbour story numbered " + number;
        text += title + "\n" + std::string(title.size(), '.') + "\n\n";
        text += HardWrap({prose[i]}, 66) + "\n";
    }
    // The navigation lines are the reader's markup and go, as the underlines do.
    const std::vector<std::string> blocks = BlockTexts(Refined(text));
    for (const std::string& paragraph : JoinedParagraphs()) {
        EXPECT_NE(std::find(blocks.begin(), blocks.end(), paragraph), blocks.end()) << paragraph;
    }
    for (const std::string& block : blocks) {
        EXPECT_EQ(block.find("..."), std::string::npos) << "an underline kept as text: " << block;
    }
}

TEST(OneParagraphPerLine, LinesStayParagraphsWithOrWithoutBlankLines) {
    const std::vector<std::string> paragraphs = JoinedParagraphs();
    std::string plain;
    std::string spaced;
    for (const std::string& p : paragraphs) {
        plain += p + "\n";
        spaced += p + "\n\n";
    }
    for (const std::string& text : {plain, spaced}) {
        const Document doc = Refined(text);
        EXPECT_EQ(BlockTexts(doc), paragraphs);
        ExpectSameWords(text, doc);
    }
}

TEST(OneParagraphPerLine, ShortDialogueLinesAreNotJoined) {
    const std::string text =
        "\"Is this the last stop?\"\n"
        "\"It is the only stop.\"\n"
        "He did not laugh, and for a while neither of them said anything at all, while the "
        "ferry's engine ticked and cooled behind them in the dark.\n"
        "\"Where is Chapel Street?\"\n"
        "She pointed up the hill.\n";
    const Document doc = Refined(text);
    EXPECT_EQ(doc.blocks.size(), 5u);
    ExpectSameWords(text, doc);
}

TEST(VerseText, StanzasKeepEveryLineBreak) {
    const std::string text =
        "  The tide goes out, the tide comes in,\n"
        "  The nets are mended, thin by thin;\n"
        "  And all the boats that ever sailed\n"
        "  Come home at last, or else have failed.\n"
        "\n"
        "  The lamp is lit, the lamp goes dark,\n"
        "  The keeper climbs to make his mark;\n"
        "  And every night the beam goes round\n"
        "  To tell the sea it is not drowned.\n";
    const Document doc = Refined(text);
    ASSERT_EQ(doc.blocks.size(), 2u);
    // The indentation every line of the stanza shares is layout; the breaks are the poem's.
    EXPECT_EQ(BlockTexts(doc)[0],
              "The tide goes out, the tide comes in,\nThe nets are mended, thin by thin;\n"
              "And all the boats that ever sailed\nCome home at last, or else have failed.");
    ExpectSameWords(text, doc);
}

TEST(VerseText, EvenLinesOfVerseThroughoutAreNotMistakenForAWrap) {
    // Lines of nearly one length, every one starting with a capital: verse, not a wrap.
    std::string text;
    const char* lines[] = {
        "When morning breaks along the harbour wall and gulls",
        "Come wheeling down to where the boats are moored,",
        "The keeper walks the jetty end to end and calls",
        "The names of all the ships that came ashore.",
        "He counts them as a shepherd counts his sheep and knows",
        "Which one is late, which one will not come home,",
    };
    for (int stanza = 0; stanza < 4; ++stanza) {
        for (const char* line : lines) {
            text += std::string(line) + "\n";
        }
        text += "\n";
    }
    const Document doc = Refined(text);
    ASSERT_EQ(doc.blocks.size(), 4u);
    const std::string stanza = BlockTexts(doc)[0];
    EXPECT_EQ(std::count(stanza.begin(), stanza.end(), '\n'), 5);
    ExpectSameWords(text, doc);
}

TEST(VerseText, VerseWithoutBlankLinesKeepsOneParagraphPerLine) {
    const std::string text =
        "Salt on the window,\n"
        "salt on the sill,\n"
        "the ferry is late\n"
        "and the harbour is still.\n";
    const Document doc = Refined(text);
    EXPECT_EQ(doc.blocks.size(), 4u);
    ExpectSameWords(text, doc);
}

TEST(BlankLines, NeverBecomeEmptyParagraphs) {
    const std::string text =
        "\n\n\nFirst line of the note.\n\n\n\n\nSecond line of the note.\n\n\n";
    const Document doc = Refined(text);
    EXPECT_EQ(BlockTexts(doc),
              (std::vector<std::string>{"First line of the note.", "Second line of the note."}));
    EXPECT_TRUE(Refined("").blocks.empty());
    EXPECT_TRUE(Refined("\n   \n\t\n").blocks.empty());
}

TEST(SceneBreaks, OrnamentLinesBecomeSceneBreaks) {
    const std::vector<std::string> prose = JoinedParagraphs();
    for (const char* ornament : {"* * *", "***", "#", "~~~", "-- --", "\u00a7", "\u2766",
                                 "      *      *      *", ". . ."}) {
        const std::string text = prose[0] + "\n\n" + ornament + "\n\n" + prose[1] + "\n";
        const Document doc = Refined(text);
        ASSERT_EQ(doc.blocks.size(), 3u) << ornament;
        EXPECT_EQ(doc.blocks[1].kind, BlockKind::SceneBreak) << ornament;
        // The author's marker stays; only its indentation, which is layout, goes.
        const std::string marker(ornament);
        EXPECT_EQ(doc.BlockText(doc.blocks[1]), marker.substr(marker.find_first_not_of(' ')));
        EXPECT_EQ(BlockTexts(doc)[2], prose[1]);
    }
}

TEST(SceneBreaks, TextThatOnlyLooksLikeOneStays) {
    const std::vector<std::string> prose = JoinedParagraphs();
    for (const char* line : {"...", "\u2026", "\"--\"", "#1", "(* *)"}) {
        const std::string text = prose[0] + "\n\n" + line + "\n\n" + prose[1] + "\n";
        const Document doc = Refined(text);
        ASSERT_EQ(doc.blocks.size(), 3u) << line;
        EXPECT_EQ(doc.blocks[1].kind, BlockKind::Paragraph) << line;
        EXPECT_EQ(BlockTexts(doc)[1], line);
    }
    // A rule right under a line of text underlines it: a heading, not a break between scenes.
    const Document underlined = Refined("The Harbour\n===========\n\n" + prose[0] + "\n");
    EXPECT_EQ(underlined.blocks[0].kind, BlockKind::Heading);
    EXPECT_EQ(BlockTexts(underlined)[0], "The Harbour");
}

TEST(SceneBreaks, WorkWithoutBlankLinesToo) {
    const std::vector<std::string> prose = JoinedParagraphs();
    const std::string text = prose[0] + "\n* * *\n" + prose[1] + "\n";
    const Document doc = Refined(text);
    ASSERT_EQ(doc.blocks.size(), 3u);
    EXPECT_EQ(doc.blocks[1].kind, BlockKind::SceneBreak);
}

TEST(FormattedSource, ParagraphsAreKeptAsTheyAre) {
    Document doc;
    doc.hasParagraphFormatting = true;
    doc.metadata.title = "Harbour Notes";
    const char* lines[] = {"Short line one,", "", "short line two", "   indented by the author"};
    for (const char* line : lines) {
        doc.BeginBlock().indented = true;
        doc.AppendText(line);
    }
    doc.blocks[2].alignment = Tessaly::Docs::Alignment::Center;
    Tessaly::Docs::RefineForReading(doc);
    ASSERT_EQ(doc.blocks.size(), 3u);  // only the empty paragraph goes
    EXPECT_EQ(BlockTexts(doc), (std::vector<std::string>{"Short line one,", "short line two",
                                                         "   indented by the author"}));
    EXPECT_EQ(doc.blocks[1].alignment, Tessaly::Docs::Alignment::Center);
    EXPECT_TRUE(doc.blocks[2].indented);
}

TEST(SpansAndNotes, FormattingAndNotesSurviveTheJoins) {
    const std::vector<std::string> prose = HarbourParagraphs();
    Document doc;
    doc.metadata.title = "harbour.txt";
    const std::string wrapped = HardWrap({prose[0], prose[1]}, 72);
    std::size_t start = 0;
    int line = 0;
    while (start < wrapped.size()) {
        const std::size_t end = wrapped.find('\n', start);
        doc.BeginBlock();
        const std::string text = wrapped.substr(start, end - start);
        if (line == 1) {
            // "... as they had" in italics on the second line, a note mark after it.
            doc.AppendText(text.substr(0, 10), Tessaly::Docs::kItalic);
            doc.AppendText(text.substr(10));
            doc.AppendText("1", Tessaly::Docs::kNoteRef, 0);
        } else {
            doc.AppendText(text);
        }
        start = end + 1;
        ++line;
    }
    // The note's text sits in the arena after the body, as a reader appends it.
    doc.noteBlocks.push_back({});
    doc.noteBlocks.back().firstSpan = static_cast<std::uint32_t>(doc.spans.size());
    Tessaly::Docs::Span noteSpan;
    noteSpan.offset = doc.text.size();
    doc.text += "Eleven years -- or twelve, she was never sure.";
    noteSpan.length = static_cast<std::uint32_t>(doc.text.size() - noteSpan.offset);
    doc.spans.push_back(noteSpan);
    doc.noteBlocks.back().spanCount = 1;
    doc.notes.push_back({0, 1});

    const std::vector<std::string> before = WordsOf(doc);
    Tessaly::Docs::RefineForReading(doc);
    ASSERT_EQ(doc.blocks.size(), 2u);
    EXPECT_EQ(WordsOf(doc).size(), before.size());
    bool italic = false;
    bool noteRef = false;
    for (std::uint32_t s = 0; s < doc.blocks[0].spanCount; ++s) {
        const auto& span = doc.spans[doc.blocks[0].firstSpan + s];
        italic = italic || (span.format == Tessaly::Docs::kItalic && span.length == 10);
        noteRef = noteRef || (span.format == Tessaly::Docs::kNoteRef && doc.SpanText(span) == "1");
    }
    EXPECT_TRUE(italic);
    EXPECT_TRUE(noteRef);
    ASSERT_EQ(doc.noteBlocks.size(), 1u);
    EXPECT_EQ(doc.BlockText(doc.noteBlocks[0]), "Eleven years -- or twelve, she was never sure.");
}

TEST(AnyInput, GeneratedTextsKeepEveryWordInOrder) {
    // Lines of random lengths from letters, spaces, tabs, clause marks and stray high bytes
    // (invalid UTF-8 included): whatever shape the refinement sees, the words stay.
    const std::string alphabet = "abcdefghij KLMNOP qrstu  vwxyz\t,;:!?\xC3\xA9\xE2\x80\xFF\x80 ";
    std::uint32_t seed = 7;
    auto next = [&seed](std::uint32_t bound) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % bound;
    };
    for (int round = 0; round < 40; ++round) {
        std::string text;
        const std::uint32_t lines = 1 + next(60);
        const std::uint32_t width = 20 + next(120);
        for (std::uint32_t l = 0; l < lines; ++l) {
            const std::uint32_t length = next(4) == 0 ? 0 : next(width);
            for (std::uint32_t c = 0; c < length; ++c) {
                text.push_back(alphabet[next(static_cast<std::uint32_t>(alphabet.size()))]);
            }
            text.push_back('\n');
        }
        const Document doc = Refined(text);
        EXPECT_EQ(WordsOf(text), WordsOf(doc)) << "round " << round;
        for (const auto& block : doc.blocks) {
            EXPECT_NE(doc.BlockText(block).find_first_not_of(" \t\n"), std::string::npos);
        }
    }
}

}  // namespace
