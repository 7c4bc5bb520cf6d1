// Plain text read straight into the model must be the very document the reader makes of the
// text's staging RTF: the converter's book and the window's book depend on it.

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "doclib/PlainTextReader.h"
#include "doclib/rtf/RtfReader.h"
#include "text/StagingRtf.h"

namespace {

using Tessaly::Docs::Document;

// Every field of the model, so that any difference shows and says where it is.
std::string Dump(const Document& doc) {
    std::ostringstream out;
    out << "title [" << doc.metadata.title << "] author [" << doc.metadata.author << "] language ["
        << doc.metadata.language << "] formatted " << doc.hasParagraphFormatting << " links "
        << doc.links.size() << " notes " << doc.notes.size() << " noteBlocks "
        << doc.noteBlocks.size() << "\n";
    for (const auto& block : doc.blocks) {
        out << "block " << static_cast<int>(block.kind) << " " << int{block.level} << " "
            << static_cast<int>(block.alignment) << " " << block.indented << " "
            << block.listOrdered << " " << block.listNumber << " spans " << block.firstSpan << "+"
            << block.spanCount << "\n";
    }
    for (const auto& span : doc.spans) {
        out << "span " << span.offset << "+" << span.length << " " << int{span.format} << " "
            << span.ref << " [" << doc.SpanText(span) << "]\n";
    }
    out << "text [" << doc.text << "]\n";
    return out.str();
}

void ExpectSameAsStaged(const std::string& text, const std::string& title = "notes.txt") {
    const Document direct = Tessaly::Docs::ReadPlainTextDocument(text, title);
    const Document staged = Tessaly::Docs::ReadRtf(text::StagingRtf(text, title));
    EXPECT_EQ(Dump(direct), Dump(staged)) << "text of " << text.size() << " bytes";
}

TEST(PlainTextReader, LineEndsAndLayoutCharactersMakeTheStagedParagraphs) {
    for (const char* text : {"",
                             "\n",
                             "\n\n\n",
                             "One line",
                             "One line\n",
                             "a\r\nb\rc\nd",
                             "a\r\r\nb",
                             "\r",
                             "  indented\n\tand tabbed\t\n",
                             "\f",
                             "\f\n",
                             "a\fb",
                             "a\f\nb\n",
                             "\f\f\nx",
                             "x\f",
                             "x\n\f",
                             "before\vafter\n",
                             "\v",
                             "one\v\ntwo",
                             "trailing blanks   \n  \n"}) {
        SCOPED_TRACE(text);
        ExpectSameAsStaged(text);
    }
}

TEST(PlainTextReader, CharactersAnRtfDocumentCannotCarryAreLeftOutAlike) {
    std::string controls;
    for (int c = 1; c < 0x20; ++c) {
        controls += "x";
        controls += static_cast<char>(c);
    }
    for (const std::string& text : {
             controls,
             std::string("nul\0byte\n", 9),
             std::string("delete \x7F here"),
             std::string("braces {and} back\\slashes \\par"),
             // Windows-1252 letters, the C1 controls and the five bytes it leaves undefined.
             std::string("\xE2\x82\xAC \xE2\x80\x9Equoted\xE2\x80\x9C \xC5\x92 \xC2\x81 \xC2\x9D "
                         "\xC2\x80 \xC2\x9F caf\xC3\xA9"),
             // Noncharacters, a byte-order mark, a replacement character, astral characters.
             std::string("\xEF\xBF\xBE|\xEF\xBF\xBF|\xEF\xBB\xBF|\xEF\xBF\xBD|\xF0\x9F\x98\x80|"
                         "\xF4\x8F\xBF\xBF"),
             // Scripts written by number.
             std::string(
                 "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE6\x97\xA5\xE6\x9C\xAC "
                 "\xED\x95\x9C \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"),
             // Bytes that are no UTF-8 at all.
             std::string("\x81 \xC0\x80 \xED\xA0\x80 \xF8\x88\x80\x80\x80 \xE2\x82 end \xFF"),
         }) {
        SCOPED_TRACE(text);
        ExpectSameAsStaged(text);
        ExpectSameAsStaged(text + "\n" + text + "\r\n");
    }
}

TEST(PlainTextReader, TheTitleIsTheStagedTitle) {
    for (const char* title :
         {"", "   ", "notes.txt", "  spaced  name.txt ", "tab\tin.txt", "line\nend.txt",
          "cr\r\nlf.txt", "feed\f\vbreak.txt", "caf\xC3\xA9 \xE6\x97\xA5.txt", "{brace}\\.txt",
          "bad \x81\xFF.txt", "\x01\x02control.txt", "\xEF\xBF\xBE.txt"}) {
        SCOPED_TRACE(title);
        ExpectSameAsStaged("Body.\n", title);
    }
}

// Random texts from pieces that meet at every boundary: line ends split between pieces,
// characters beside escapes, runs long enough to cross the staging writer's buffer.
TEST(PlainTextReader, GeneratedTextsMakeTheStagedDocument) {
    const std::string pieces[] = {
        "a",
        "word ",
        "\n",
        "\r",
        "\r\n",
        "\t",
        "\f",
        "\v",
        "\x01",
        "\\",
        "{",
        "}",
        "\x7F",
        "\xC3\xA9",
        "\xE2\x82\xAC",
        "\xC2\x81",
        "\xE6\x97\xA5",
        "\xF0\x9F\x98\x80",
        "\xEF\xBF\xBF",
        "\x81",
        "\xE2",
        "    ",
        std::string(70'000, 'z'),
    };
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 60);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int count = length(random);
        for (int i = 0; i < count; ++i) {
            const std::size_t p = pick(random);
            // The long run now and then only, so the rounds stay quick.
            if (p + 1 == std::size(pieces) && round % 10 != 0) {
                continue;
            }
            text += pieces[p];
        }
        SCOPED_TRACE(round);
        ExpectSameAsStaged(text);
        if (HasFailure()) {
            break;
        }
    }
}

}  // namespace
