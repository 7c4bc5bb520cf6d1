// The library's two entry points together: a staged RTF file opened as a Document and saved
// as a book.
#include <gtest/gtest.h>

#include "doclib/Document.h"
#include "tests/doclib/epub/BookSamples.h"
#include "tests/support/TempHome.h"

using namespace Tessaly::Docs;
using namespace quillane::test;

TEST(DocumentRoundTrip, StagedRtfBecomesABookWithChaptersAndItsText) {
    TempDir dir;
    WriteFile(dir / "temp.rtf",
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
              "{\\info{\\title harbour_tales.txt}}\r\n\\pard\\f0\\fs20 "
              "Chapter 1\\par\r\n\\par\r\nThe caf\\'e9 by the harbour opened early.\\par\r\n"
              "\\par\r\nA na\\u239?ve sailor asked for tea.\\par\r\n\\par\r\n"
              "Chapter 2\\par\r\n\\par\r\nBy noon the fog had gone.\\par\r\n}\r\n");
    const Document doc(dir / "temp.rtf");
    const auto entries = WriteAndRead(doc, dir / "harbour_tales.epub");
    const auto files = ContentFiles(entries);
    EXPECT_GE(files.size(), 2u);  // a file per chapter
    const std::string text = ContentText(entries);
    EXPECT_NE(text.find("The café by the harbour opened early."), std::string::npos) << text;
    EXPECT_NE(text.find("A naïve sailor asked for tea."), std::string::npos) << text;
    EXPECT_NE(text.find("By noon the fog had gone."), std::string::npos) << text;
    const std::string& nav = Entry(entries, "EPUB/nav.xhtml").data;
    EXPECT_NE(nav.find(">Chapter 1</a>"), std::string::npos) << nav;
    EXPECT_NE(nav.find(">Chapter 2</a>"), std::string::npos) << nav;
    // The staged file's name is not the book's title.
    const std::string title =
        Between(Entry(entries, "EPUB/package.opf").data, "<dc:title>", "</dc:title>");
    EXPECT_NE(title, "temp");
    EXPECT_NE(title, "harbour_tales.txt");
}

TEST(DocumentRoundTrip, OpeningAMissingFileThrows) {
    TempDir dir;
    EXPECT_THROW(Document(dir / "absent.rtf"), DocumentError);
}
