// A text in the free-books library's layout as a whole book: its header and licence are front
// and back matter of their own, the chapters hold only the book, the package names every
// author and the translator with its role, and the checker finds nothing to say.
#include <gtest/gtest.h>

#include <string>

#include "doclib/Document.h"
#include "tests/doclib/epub/ZipReading.h"
#include "tests/doclib/structure/LibraryLayoutTexts.h"
#include "tests/support/Epubcheck.h"
#include "tests/support/TempHome.h"

namespace {

using namespace quillane::test;

TEST(FrontMatterBook, HeaderAndLicenceStayOutOfTheChapters) {
    TempDir dir;
    WriteFile(dir / "satama.txt", FinnishTodayText());
    Tessaly::Docs::Document(dir / "satama.txt").Save(dir / "satama.epub");
    const auto entries = ReadZip(ReadFile(dir / "satama.epub"));

    std::string front;
    std::string firstChapter;
    std::string back;
    for (const ZipEntryInfo& e : entries) {
        if (!e.name.starts_with("EPUB/text/")) {
            continue;
        }
        if (e.data.find("Release date") != std::string::npos) {
            front = e.data;
        }
        if (e.data.find(">LUKU I.<") != std::string::npos) {
            firstChapter = e.data;
        }
        if (e.data.find("General Terms of Use") != std::string::npos) {
            back = e.data;
        }
    }
    ASSERT_FALSE(front.empty());
    ASSERT_FALSE(firstChapter.empty());
    ASSERT_FALSE(back.empty());
    EXPECT_NE(front, firstChapter);
    EXPECT_NE(back, firstChapter);
    EXPECT_EQ(firstChapter.find("START OF"), std::string::npos);
    EXPECT_EQ(firstChapter.find("Produced by"), std::string::npos);
    EXPECT_EQ(firstChapter.find("END OF"), std::string::npos);

    const std::string& opf = Entry(entries, "EPUB/package.opf").data;
    EXPECT_NE(opf.find("<dc:title>Satamakonttori</dc:title>"), std::string::npos) << opf;
    EXPECT_NE(opf.find("<dc:creator>Aino Virtanen</dc:creator>\n"
                       "    <dc:creator>Eero Laine</dc:creator>"),
              std::string::npos)
        << opf;
    EXPECT_NE(opf.find("<dc:contributor id=\"contributor1\">Maija Koski</dc:contributor>\n"
                       "    <meta refines=\"#contributor1\" property=\"role\" "
                       "scheme=\"marc:relators\">trl</meta>"),
              std::string::npos)
        << opf;
    EXPECT_NE(opf.find("<dc:language>fi</dc:language>"), std::string::npos) << opf;

    const EpubcheckResult check = RunEpubcheck(dir / "satama.epub");
    EXPECT_TRUE(check.Clean()) << check.output;
}

}  // namespace
