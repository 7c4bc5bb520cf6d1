// Whole books from in-memory documents: the checker's verdict, the container, the text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "doclib/Document.h"
#include "doclib/epub/ContentWriter.h"
#include "tests/doclib/epub/BookSamples.h"
#include "tests/support/Epubcheck.h"
#include "tests/support/TempHome.h"

using namespace Tessaly::Docs;
using namespace quillane::test;

namespace {

// One paragraph under every metadata field.
Document OneLineDocument() {
    Document doc;
    doc.metadata.title = "A Line & More";
    doc.metadata.author = "Ada <Writer>";
    doc.metadata.language = "en-GB";
    doc.metadata.subject = "Tests";
    doc.metadata.description = "Just one line.";
    AddBlock(doc, BlockKind::Paragraph, 0, "Hello, world.");
    return doc;
}

// 600 KB of sentences with line breaks but no paragraph break.
std::string WallOfText() {
    std::string text;
    while (text.size() < 600'000) {
        text += "An endless sentence & more <text> with no paragraph break, ";
        if (text.size() % 7 == 0) {
            text += "\n";
        }
    }
    return text;
}

// One paragraph of WallOfText().
Document WallOfTextDocument() {
    Document doc;
    AddBlock(doc, BlockKind::Paragraph, 0, WallOfText());
    return doc;
}

// Right-to-left and East Asian scripts, combining sequences and emoji.
Document ScriptsDocument() {
    Document doc;
    doc.metadata.title = "Σχήματα · 文字 · حروف";
    doc.metadata.language = "ar";
    AddBlock(doc, BlockKind::Heading, 1, "مقدمة");
    AddBlock(doc, BlockKind::Paragraph, 0, "هذا نص عربي قصير.");
    AddBlock(doc, BlockKind::Heading, 1, "第一章 🌸");
    AddBlock(doc, BlockKind::Paragraph, 0, "日本語の文章です。中文句子。한국어 문장.");
    AddBlock(doc, BlockKind::Paragraph, 0, "עברית, Ελληνικά, Русский, हिन्दी, ไทย, ქართული.");
    AddBlock(doc, BlockKind::Paragraph, 0,
             "Emoji: 😀 👩‍👩‍👧 🏳️‍🌈 𝄞 🇯🇵");
    return doc;
}

// Character formats, links (one of them unsafe), footnotes and a page break.
Document RichDocument() {
    Document doc;
    doc.metadata.title = "Rich";
    doc.metadata.language = "en";
    AddBlock(doc, BlockKind::Heading, 1, "First");
    doc.BeginBlock();
    doc.AppendText("Plain, ");
    doc.AppendText("bold", kBold);
    doc.AppendText(", ");
    doc.AppendText("all", kBold | kItalic | kUnderline | kStrike);
    doc.AppendText(" H");
    doc.AppendText("2", kSubscript);
    doc.AppendText("O and x");
    doc.AppendText("2", kSuperscript);
    doc.links = {"https://example.org/?a=1&b=2", "javascript:alert(1)", "mailto:me@example.org"};
    doc.BeginBlock();
    doc.AppendText("Visit ");
    doc.AppendText("the site", kLink, 0);
    doc.AppendText(", not ");
    doc.AppendText("this", kLink, 1);
    doc.AppendText(", or ");
    doc.AppendText("write", kLink | kItalic, 2);
    doc.AppendText(".");
    const std::uint32_t n1 = AddNote(doc, "The first note, with <markup> & more.");
    const std::uint32_t n2 = AddNote(doc, "The second note.");
    AddNote(doc, "A note nothing cites.");
    doc.BeginBlock();
    doc.AppendText("A claim");
    doc.AppendText("1", kNoteRef, n1);
    doc.AppendText(" and another");
    doc.AppendText("*", kNoteRef | kSuperscript, n2);
    doc.AppendText(".");
    AddBlock(doc, BlockKind::Heading, 1, "Second");
    doc.BeginBlock();
    doc.AppendText("Cited again");
    doc.AppendText("1", kNoteRef, n1);
    doc.BeginBlock(BlockKind::PageBreak);
    AddBlock(doc, BlockKind::Paragraph, 0, "After the page break.");
    return doc;
}

// Markup, control characters, broken UTF-8 and unsafe links in text and metadata.
Document HostileDocument() {
    Document doc;
    doc.metadata.title = std::string("Bad\x01 \"title\" <x>") + "\xFF";
    doc.metadata.language = "not a language";
    AddBlock(doc, BlockKind::Heading, 1, "<script>alert(1)</script>");
    AddBlock(doc, BlockKind::Paragraph, 0,
             std::string("ctrl\x02\x1b[0m\x7f and \xC0\xAF bad \xED\xA0\x80 \xEF\xBF\xBF end", 34));
    AddBlock(doc, BlockKind::Paragraph, 0, "tab\there   spaces\nline two");
    AddBlock(doc, BlockKind::Paragraph, 0, "");
    AddBlock(doc, BlockKind::Paragraph, 0, "  ");
    AddBlock(doc, BlockKind::Paragraph, 0, "after blanks");
    AddBlock(doc, BlockKind::Heading, 2, "\x01\x02");  // a heading with nothing to show
    AddBlock(doc, BlockKind::Heading, 9, "Too deep");
    doc.links = {"http://x/\"onmouseover=\"alert(1)"};
    doc.BeginBlock();
    doc.AppendText("quoted link", kLink, 0);
    doc.AppendText("dangling", kLink, 7);  // no such link: plain text
    return doc;
}

const std::string& Opf(const std::vector<ZipEntryInfo>& entries) {
    return Entry(entries, "EPUB/package.opf").data;
}

}  // namespace

// Every sample book of this file goes through the EPUB checker in one run, since the checker's
// start costs more than all the books together. Each book keeps its own verdict; a broken file
// in the middle of the batch proves the verdicts do not run into each other.
TEST(EpubBook, EverySampleBookPassesTheChecker) {
    TempDir dir;
    std::vector<std::string> books;
    const auto save = [&](const std::string& name, const Document& doc) {
        books.push_back(dir / name);
        doc.Save(books.back());
    };
    save("Empty Notes.epub", Document());
    save("line.epub", OneLineDocument());
    save("novel.epub", MakeNovel(2, 2, 280'000));
    save("wall.epub", WallOfTextDocument());
    books.push_back(dir / "broken.epub");
    WriteFile(books.back(), "PK\x03\x04 not a book at all");
    save("scripts.epub", ScriptsDocument());
    save("rich.epub", RichDocument());
    save("hostile.epub", HostileDocument());

    const std::vector<EpubcheckResult> verdicts = RunEpubcheck(books);
    ASSERT_EQ(verdicts.size(), books.size());
    for (std::size_t i = 0; i < books.size(); ++i) {
        EXPECT_EQ(verdicts[i].book, books[i]);
        if (books[i] == dir / "broken.epub") {
            EXPECT_EQ(verdicts[i].exitCode, 1) << verdicts[i].output;
            EXPECT_GT(verdicts[i].fatals + verdicts[i].errors, 0) << verdicts[i].output;
        } else {
            EXPECT_TRUE(verdicts[i].Clean()) << books[i] << "\n" << verdicts[i].output;
        }
    }
}

TEST(EpubBook, EmptyDocumentIsAValidBookTitledAfterItsFile) {
    TempDir dir;
    const std::string path = dir / "Empty Notes.epub";
    const auto entries = WriteAndRead(Document(), path);
    // The container's first bytes are what reading systems sniff.
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries[0].name, "mimetype");
    EXPECT_EQ(entries[0].method, 0);
    EXPECT_EQ(entries[0].localExtraLength, 0);
    EXPECT_EQ(entries[0].offset, 0u);
    EXPECT_EQ(entries[0].data, "application/epub+zip");
    EXPECT_EQ(Between(Opf(entries), "<dc:title>", "</dc:title>"), "Empty Notes");
    EXPECT_EQ(Between(Opf(entries), "<dc:language>", "</dc:language>"), "und");
    EXPECT_EQ(Opf(entries).find("<dc:creator>"), std::string::npos);
    EXPECT_EQ(ContentFiles(entries).size(), 1u);
    // One entry in each table of contents: the title.
    const std::string& nav = Entry(entries, "EPUB/nav.xhtml").data;
    EXPECT_NE(nav.find("<li><a href=\"text/c0001.xhtml\">Empty Notes</a></li>"), std::string::npos)
        << nav;
    const std::string& ncx = Entry(entries, "EPUB/toc.ncx").data;
    EXPECT_NE(ncx.find("<text>Empty Notes</text></navLabel>"), std::string::npos) << ncx;
}

TEST(EpubBook, OneLineDocumentKeepsMetadataAndText) {
    TempDir dir;
    const std::string path = dir / "line.epub";
    const Document doc = OneLineDocument();
    const auto entries = WriteAndRead(doc, path);
    const std::string& opf = Opf(entries);
    EXPECT_EQ(Between(opf, "<dc:title>", "</dc:title>"), "A Line &amp; More");
    EXPECT_EQ(Between(opf, "<dc:creator>", "</dc:creator>"), "Ada &lt;Writer&gt;");
    EXPECT_EQ(Between(opf, "<dc:language>", "</dc:language>"), "en-GB");
    EXPECT_EQ(Between(opf, "<dc:subject>", "</dc:subject>"), "Tests");
    const std::string modified = Between(opf, "\"dcterms:modified\">", "</meta>");
    ASSERT_EQ(modified.size(), 20u) << modified;
    EXPECT_EQ(modified[4], '-');
    EXPECT_EQ(modified[10], 'T');
    EXPECT_EQ(modified[19], 'Z');
    for (const char* a11y : {"schema:accessMode\">textual", "schema:accessModeSufficient\">textual",
                             "schema:accessibilityFeature\">structuralNavigation",
                             "schema:accessibilityFeature\">tableOfContents",
                             "schema:accessibilityHazard\">none", "schema:accessibilitySummary"}) {
        EXPECT_NE(opf.find(a11y), std::string::npos) << a11y;
    }
    // The NCX must name the package's own identifier.
    const std::string id = Between(opf, "<dc:identifier id=\"book-id\">", "</dc:identifier>");
    EXPECT_EQ(id.rfind("urn:uuid:", 0), 0u) << id;
    EXPECT_NE(Entry(entries, "EPUB/toc.ncx").data.find("content=\"" + id + "\""),
              std::string::npos);
    EXPECT_EQ(ContentText(entries), "Hello, world.");
}

TEST(EpubBook, LargeNovelSplitsIntoChaptersAndSmallFiles) {
    TempDir dir;
    const std::string path = dir / "novel.epub";
    // Two parts of two chapters; chapters of ~300 KB text must be cut further.
    const Document doc = MakeNovel(2, 2, 280'000);
    const auto entries = WriteAndRead(doc, path);
    const auto files = ContentFiles(entries);
    EXPECT_GE(files.size(), 2u + 4u * 2u);
    for (const std::string& name : files) {
        EXPECT_LE(Entry(entries, name).data.size(), kContentFileLimit) << name;
    }
    EXPECT_EQ(ContentText(entries), BodyText(doc));
    // Parts at the top of the tables of contents, chapters nested under them.
    const std::string& nav = Entry(entries, "EPUB/nav.xhtml").data;
    const std::size_t part2 = nav.find(">Part 2</a>");
    ASSERT_NE(part2, std::string::npos) << nav;
    EXPECT_NE(nav.find("<ol>", part2), std::string::npos);
    EXPECT_LT(nav.find(">Chapter 2</a>", part2), nav.find("</ol>", part2));
    const std::string& ncx = Entry(entries, "EPUB/toc.ncx").data;
    EXPECT_NE(ncx.find("\"dtb:depth\" content=\"2\""), std::string::npos);
    EXPECT_NE(ncx.find("playOrder=\"6\""), std::string::npos);  // 2 parts + 4 chapters
    EXPECT_EQ(ncx.find("playOrder=\"7\""), std::string::npos);
    std::size_t sceneBreaks = 0;
    for (const std::string& name : files) {
        const std::string& x = Entry(entries, name).data;
        for (std::size_t at = x.find("<hr class=\"scene\"/>"); at != std::string::npos;
             at = x.find("<hr class=\"scene\"/>", at + 1)) {
            ++sceneBreaks;
        }
    }
    EXPECT_EQ(sceneBreaks, 4u);
}

TEST(EpubBook, OneGiantParagraphIsCutWithoutLosingText) {
    TempDir dir;
    const std::string path = dir / "wall.epub";
    const Document doc = WallOfTextDocument();
    const auto entries = WriteAndRead(doc, path);
    const auto files = ContentFiles(entries);
    EXPECT_GE(files.size(), 3u);
    for (const std::string& name : files) {
        EXPECT_LE(Entry(entries, name).data.size(), kContentFileLimit) << name;
    }
    EXPECT_EQ(ContentText(entries), WallOfText());
}

TEST(EpubBook, ScriptsAndEmojiPassThrough) {
    TempDir dir;
    const std::string path = dir / "scripts.epub";
    const Document doc = ScriptsDocument();
    const auto entries = WriteAndRead(doc, path);
    EXPECT_EQ(ContentText(entries), BodyText(doc));
    EXPECT_NE(Opf(entries).find("page-progression-direction=\"rtl\""), std::string::npos);
    EXPECT_NE(Entry(entries, ContentFiles(entries)[0]).data.find("dir=\"rtl\""), std::string::npos);
    EXPECT_NE(Entry(entries, "EPUB/nav.xhtml").data.find(">第一章 🌸</a>"), std::string::npos);
}

TEST(EpubBook, FormattingLinksAndFootnotes) {
    TempDir dir;
    const std::string path = dir / "rich.epub";
    const Document doc = RichDocument();
    const auto entries = WriteAndRead(doc, path);
    const auto files = ContentFiles(entries);
    ASSERT_EQ(files.size(), 2u);
    const std::string& first = Entry(entries, files[0]).data;
    const std::string& second = Entry(entries, files[1]).data;
    EXPECT_NE(first.find("<b>bold</b>"), std::string::npos);
    EXPECT_NE(first.find("<b><i><u><s>all</s></u></i></b>"), std::string::npos);
    EXPECT_NE(first.find("H<sub>2</sub>O"), std::string::npos);
    EXPECT_NE(first.find("x<sup>2</sup>"), std::string::npos);
    EXPECT_NE(first.find("<a href=\"https://example.org/?a=1&amp;b=2\">the site</a>"),
              std::string::npos);
    EXPECT_NE(first.find("<a href=\"mailto:me@example.org\"><i>write</i></a>"), std::string::npos);
    EXPECT_EQ(first.find("javascript"), std::string::npos);
    EXPECT_NE(first.find(", not this, or"), std::string::npos);
    // Notes: reference and note link to each other; the second citation in the next
    // chapter links across files.
    EXPECT_NE(first.find("epub:type=\"noteref\""), std::string::npos);
    EXPECT_NE(first.find("href=\"#note-1\">1</a>"), std::string::npos);
    EXPECT_NE(first.find("<aside epub:type=\"footnote\""), std::string::npos);
    EXPECT_NE(first.find("id=\"note-1\""), std::string::npos);
    EXPECT_NE(first.find("The first note, with &lt;markup&gt; &amp; more."), std::string::npos);
    EXPECT_NE(second.find("href=\"c0001.xhtml#note-1\""), std::string::npos);
    EXPECT_NE(second.find("A note nothing cites."), std::string::npos);
    EXPECT_NE(second.find("<div class=\"page-break\"></div>"), std::string::npos);
}

TEST(EpubBook, HostileTextIsEscapedOrDroppedNeverBreakingTheBook) {
    TempDir dir;
    const std::string path = dir / "hostile.epub";
    const Document doc = HostileDocument();
    const auto entries = WriteAndRead(doc, path);
    std::string all;
    for (const std::string& name : ContentFiles(entries)) {
        all += Entry(entries, name).data;
    }
    EXPECT_NE(all.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(all.find("ctrl[0m and"), std::string::npos);
    EXPECT_NE(all.find("tab\xE2\x80\x83here \xC2\xA0\xC2\xA0spaces<br/>line two"),
              std::string::npos);
    // Blank paragraphs are not written; the next paragraph gets the space instead.
    EXPECT_NE(all.find("<p class=\"gap\">after blanks</p>"), std::string::npos);
    EXPECT_EQ(all.find("<p></p>"), std::string::npos);
    EXPECT_NE(all.find("href=\"http://x/%22onmouseover=%22alert(1)\""), std::string::npos);
    EXPECT_NE(all.find("dangling"), std::string::npos);
    EXPECT_EQ(Between(Opf(entries), "<dc:language>", "</dc:language>"), "und");
}

TEST(EpubBook, SourceDateEpochMakesByteIdenticalBooks) {
    TempDir dir;
    const Document doc = MakeNovel(1, 2, 5'000);
    setenv("SOURCE_DATE_EPOCH", "1709214358", 1);
    doc.Save(dir / "a.epub");
    doc.Save(dir / "b.epub");
    unsetenv("SOURCE_DATE_EPOCH");
    const std::string a = ReadFile(dir / "a.epub");
    EXPECT_EQ(a, ReadFile(dir / "b.epub"));
    const auto entries = ReadZip(a);
    EXPECT_EQ(Between(Opf(entries), "\"dcterms:modified\">", "</meta>"), "2024-02-29T13:45:58Z");
    EXPECT_EQ(entries[0].date, ((2024 - 1980) << 9) | (2 << 5) | 29);

    // Without it, two books of one text made in the same second still differ in identifier.
    doc.Save(dir / "c.epub");
    doc.Save(dir / "d.epub");
    const auto id = [&](const std::string& name) {
        return Between(Opf(ReadZip(ReadFile(dir / name))), "book-id\">", "<");
    };
    EXPECT_NE(id("c.epub"), id("d.epub"));
    EXPECT_NE(id("c.epub"), id("a.epub"));
}

TEST(EpubBook, SaveChoosesTheFormatByExtension) {
    TempDir dir;
    Document doc;
    try {
        doc.Save(dir / "book.txt");
        FAIL() << "saved a .txt";
    } catch (const DocumentError& e) {
        EXPECT_NE(std::string(e.what()).find("unsupported output format"), std::string::npos);
    }
    EXPECT_THROW(doc.Save(dir / "epub"), DocumentError);
    EXPECT_THROW(doc.Save(dir / "x.epub/book"), DocumentError);
    EXPECT_FALSE(std::filesystem::exists(dir / "book.txt"));
    doc.Save(dir / "Book.ePub");
    EXPECT_TRUE(std::filesystem::exists(dir / "Book.ePub"));
}

TEST(EpubBook, InconsistentDocumentIsRefusedNotRead) {
    TempDir dir;
    Document doc;
    AddBlock(doc, BlockKind::Paragraph, 0, "text");
    doc.blocks[0].spanCount = 5;
    EXPECT_THROW(doc.Save(dir / "a.epub"), DocumentError);
    doc.blocks[0].spanCount = 1;
    doc.spans[0].length = 99;
    EXPECT_THROW(doc.Save(dir / "a.epub"), DocumentError);
    EXPECT_FALSE(std::filesystem::exists(dir / "a.epub"));
}
