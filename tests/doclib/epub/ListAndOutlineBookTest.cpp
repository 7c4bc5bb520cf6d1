// Lists and nested headings in the written book: items become ul/ol with the numbers written
// (start and value), nested lists open inside their item, every content file closes what it
// opens even where a long list is cut between files, and the table of contents nests sections
// under their chapters in the navigation document and the NCX.

#include <gtest/gtest.h>

#include <string>

#include "doclib/Document.h"
#include "doclib/structure/Refine.h"
#include "tests/doclib/epub/BookSamples.h"
#include "tests/doclib/epub/ZipReading.h"
#include "tests/support/Epubcheck.h"
#include "tests/support/TempHome.h"

namespace {

using namespace Tessaly::Docs;
using namespace quillane::test;

void AddItem(Document& doc, std::uint8_t level, bool ordered, std::uint32_t number,
             const std::string& text) {
    Block& block = doc.BeginBlock(BlockKind::ListItem, level);
    block.listOrdered = ordered;
    block.listNumber = number;
    doc.AppendText(text);
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

// Every list and item the file opens, it closes, in order.
bool ListsBalanced(const std::string& xhtml) {
    std::vector<std::string> open;
    for (std::size_t at = xhtml.find('<'); at != std::string::npos; at = xhtml.find('<', at + 1)) {
        for (const char* tag : {"ul", "ol", "li"}) {
            const std::string name(tag);
            if (xhtml.compare(at + 1, name.size(), name) == 0 &&
                (xhtml[at + 1 + name.size()] == '>' || xhtml[at + 1 + name.size()] == ' ')) {
                open.push_back(name);
            } else if (xhtml.compare(at + 1, name.size() + 1, "/" + name) == 0) {
                if (open.empty() || open.back() != name) {
                    return false;
                }
                open.pop_back();
            }
        }
    }
    return open.empty();
}

// List items, not the <link> of the head.
std::size_t Items(const std::string& xhtml) {
    return Count(xhtml, "<li>") + Count(xhtml, "<li ");
}

std::string Body(const std::vector<ZipEntryInfo>& entries) {
    std::string all;
    for (const ZipEntryInfo& e : entries) {
        if (e.name.starts_with("EPUB/text/")) {
            all += e.data;
        }
    }
    return all;
}

TEST(ListBook, ItemsNestAndShowTheirOwnNumbers) {
    TempDir dir;
    Document doc;
    doc.metadata.title = "Lists";
    doc.metadata.author = "Mara Lindqvist";
    AddBlock(doc, BlockKind::Heading, 1, "Chapter 1. Lists");
    AddBlock(doc, BlockKind::Paragraph, 0, "Before the list.");
    AddItem(doc, 1, true, 3, "3. Open the archive");
    AddItem(doc, 1, true, 4, "4. Pick a folder");
    AddItem(doc, 2, false, 0, "* inside the fourth step");
    AddItem(doc, 4, false, 0, "+ deeper than one step");  // nests one step only
    AddItem(doc, 1, true, 9, "9. Press start");
    AddItem(doc, 1, false, 0, "* a bullet after numbers");
    AddBlock(doc, BlockKind::Heading, 2, "1.1. Sections");
    AddBlock(doc, BlockKind::Heading, 3, "1.1.1. Subsections");
    AddBlock(doc, BlockKind::Paragraph, 0, "After the list.");
    doc.Save(dir / "lists.epub");

    const auto entries = ReadZip(ReadFile(dir / "lists.epub"));
    const std::string body = Body(entries);
    EXPECT_TRUE(ListsBalanced(body)) << body;
    EXPECT_NE(body.find("<ol class=\"text\" start=\"3\">\n<li>3. Open the archive"),
              std::string::npos)
        << body;
    EXPECT_NE(body.find("<li value=\"9\">9. Press start"), std::string::npos);
    EXPECT_NE(body.find("4. Pick a folder<ul class=\"text\">\n<li>* inside"), std::string::npos);
    EXPECT_EQ(Items(body), 6u);
    // The markers are the author's text and stay visible; no list draws a second one.
    EXPECT_NE(ContentText(entries).find("* a bullet after numbers"), std::string::npos);
    EXPECT_NE(Entry(entries, "EPUB/style.css").data.find("list-style: none"), std::string::npos);

    const std::string& nav = Entry(entries, "EPUB/nav.xhtml").data;
    EXPECT_EQ(Count(nav, "<ol>"), 3u) << nav;  // chapter, section, subsection
    EXPECT_NE(Entry(entries, "EPUB/toc.ncx").data.find("dtb:depth\" content=\"3\""),
              std::string::npos);
    EXPECT_NE(Entry(entries, "EPUB/package.opf").data.find("Mara Lindqvist</dc:creator>"),
              std::string::npos);

    const EpubcheckResult check = RunEpubcheck(dir / "lists.epub");
    EXPECT_TRUE(check.Clean()) << check.output;
}

TEST(ListBook, AListCutBetweenFilesIsClosedAndReopened) {
    TempDir dir;
    Document doc;
    doc.metadata.title = "Long list";
    const std::string filler(300, 'x');
    for (std::uint32_t i = 1; i <= 2500; ++i) {
        AddItem(doc, i % 3 == 0 ? 2 : 1, i % 3 != 0, i, std::to_string(i) + ". " + filler);
    }
    doc.Save(dir / "long.epub");
    const auto entries = ReadZip(ReadFile(dir / "long.epub"));
    std::size_t files = 0;
    std::size_t items = 0;
    for (const ZipEntryInfo& e : entries) {
        if (e.name.starts_with("EPUB/text/")) {
            ++files;
            items += Items(e.data);
            EXPECT_TRUE(ListsBalanced(e.data)) << e.name;
        }
    }
    EXPECT_GE(files, 2u);
    EXPECT_EQ(items, 2500u);
}

TEST(ListBook, AManualFromPlainTextNestsItsContents) {
    std::string text = "The Keeper Manual\n\n";
    for (int c = 1; c <= 3; ++c) {
        const std::string n = std::to_string(c);
        text += "Chapter " + n + ". Part " + n + "\n\n    Some text of the chapter.\n\n";
        for (int s = 1; s <= 2; ++s) {
            const std::string sn = n + "." + std::to_string(s) + ".";
            text += sn + " Section\n\n    Text of the section.\n\n      * a point\n\n";
            text += sn + "1. Detail\n\n    More text.\n\n";
        }
    }
    Document doc;
    doc.metadata.title = "manual.txt";
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        doc.BeginBlock();
        doc.AppendText(std::string_view(text).substr(start, end - start));
        start = end + 1;
    }
    RefineForReading(doc);
    TempDir dir;
    doc.Save(dir / "manual.epub");
    const auto entries = ReadZip(ReadFile(dir / "manual.epub"));
    const std::string& nav = Entry(entries, "EPUB/nav.xhtml").data;
    // The title, three chapters, six sections and six details.
    EXPECT_EQ(Count(nav, "<li>"), 16u) << nav;
    EXPECT_NE(Entry(entries, "EPUB/toc.ncx").data.find("dtb:depth\" content=\"3\""),
              std::string::npos);
    EXPECT_EQ(Items(Body(entries)), 6u);  // one point per section
}

}  // namespace
