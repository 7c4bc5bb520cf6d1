// Markdown sources made into books: each snippet of ours is converted as the converter does
// it (by its file name), every content file must be XML a real parser accepts, the markup must
// carry the meaning the snippet wrote, and every book must pass the EPUB checker.
#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <filesystem>
#include <string>
#include <vector>

#include "doclib/DocumentFile.h"
#include "tests/doclib/epub/ZipReading.h"
#include "tests/support/Epubcheck.h"
#include "tests/support/TempHome.h"

using namespace Tessaly::Docs;
using namespace quillane::test;

namespace {

struct MarkdownCase {
    const char* name;
    const char* fileName;
    std::string source;
    // Fragments the book's content files (or, prefixed "opf:" or "nav:", its package or
    // navigation document) must hold, and ones they must not.
    std::vector<std::string> present;
    std::vector<std::string> absent;
};

std::string Repeated(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out.append(piece);
    }
    return out;
}

std::size_t Count(const std::string& text, std::string_view what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

// A 1x1 PNG: its signature and chunks are all a book needs to be real.
std::string OnePixelPng() {
    constexpr unsigned char kBytes[] = {
        0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
        0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00,
        0x00, 0x90, 0x77, 0x53, 0xde, 0x00, 0x00, 0x00, 0x0c, 0x49, 0x44, 0x41, 0x54, 0x78,
        0x9c, 0x63, 0xf8, 0xcf, 0xc0, 0x00, 0x00, 0x03, 0x01, 0x01, 0x00, 0xc9, 0xfe, 0x92,
        0xef, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
    return std::string(reinterpret_cast<const char*>(kBytes), sizeof kBytes);
}

std::vector<MarkdownCase> Cases() {
    return {
        {"headings",
         "notes.md",
         "# The Title\n\nOpening words.\n\n## A Chapter\n\nText.\n\n### A Section\n\n"
         "#### A Detail\n\nMore.\n\nSetext heading\n--------------\n",
         {"<h1 id=", "The Title</h1>", "A Chapter</h2>", "A Section</h3>", "A Detail</h4>",
          "Setext heading</h2>", "nav:A Section", "opf:<dc:title>The Title</dc:title>"},
         {"#", "nav:A Detail"}},
        {"inline formatting",
         "inline.markdown",
         "Some *emphasis*, __strong__, ~~struck~~ and `a <tag> & code` in one line.\n",
         {"<em>emphasis</em>", "<strong>strong</strong>", "<s>struck</s>",
          "<code>a &lt;tag&gt; &amp; code</code>"},
         {"*", "~~", "`", "__"}},
        {"fenced code keeps spaces and language",
         "code.MD",
         "Before.\n\n```c++ extra words\nint main() {\n        return  0;\n\n}\n```\n\n"
         "    indented  code\n      deeper\n",
         {"<pre><code class=\"language-c++\">int main() {\n        return  0;\n\n}</code></pre>",
          "<pre><code>indented  code\n  deeper</code></pre>"},
         {"```", "extra words"}},
        {"quotes nest",
         "quotes.mkd",
         "> Outer\n>\n> > Inner\n> > still inner\n\nAfter.\n",
         {"<blockquote>\n<p>Outer</p>\n<blockquote>\n<p>Inner still inner</p>\n</blockquote>\n"
          "</blockquote>"},
         {"&gt;"}},
        {"lists ordered nested and tasks",
         "lists.mdown",
         "3. three\n4. four\n   - inner\n     1. deepest\n5. five\n\n- [ ] to do\n- [x] done\n\n"
         "* loose one\n\n* loose two\n",
         {"<ol start=\"3\">\n<li>three</li>", "<li>four<ul>\n<li>inner<ol>\n<li>deepest</li>",
          "<li class=\"task\">\xE2\x98\x90 to do</li>", "<li class=\"task\">\xE2\x98\x91 done</li>",
          "<li><p>loose one</p>\n</li>"},
         {"[ ]", "[x]"}},
        {"table with alignment",
         "table.md",
         "| Name | Count | Note | Plain |\n|:---|:---:|---:|---|\n| a | 1 | x | p |\n| b | | y |\n",
         {"<thead>\n<tr><th scope=\"col\" class=\"start\">Name</th><th scope=\"col\" "
          "class=\"center\">Count</th><th scope=\"col\" class=\"end\">Note</th><th "
          "scope=\"col\">Plain</th></tr>",
          "<tr><td class=\"start\">b</td><td class=\"center\"></td><td class=\"end\">y</td>"
          "<td></td></tr>"},
         {"|", "---"}},
        {"images local remote and escaping",
         "images.md",
         "![A dot](dot.png) ![](sub/../dot.png) ![Badge](https://ci.example/badge.svg) "
         "![Outside](../outside.png) ![Absolute](/etc/hostname) ![Fake](fake.png) "
         "![Scripted](scripted.svg) ![Logo](logo%20mark.svg) ![Linked](link.png)\n",
         {"<img src=\"../images/i0001.png\" alt=\"A dot\"/>",
          "<img src=\"../images/i0001.png\" alt=\"dot\"/>", "Badge", "Outside", "Absolute", "Fake",
          "Scripted", "<img src=\"../images/i0002.svg\" alt=\"Logo\"/>",
          "opf:href=\"images/i0001.png\" media-type=\"image/png\"",
          "opf:media-type=\"image/svg+xml\"", "opf:alternativeText"},
         {"i0003", "![", "ci.example"}},
        {"links of each kind",
         "links.md",
         "[web](https://example.org/?a=1&b=2) [plain](http://example.org) "
         "[mail](mailto:ann@example.org) [file](other.md) [script](javascript:alert(1)) "
         "<https://auto.example/x> www.example.net and [anchor](#top)\n",
         {"<a href=\"https://example.org/?a=1&amp;b=2\">web</a>",
          "<a href=\"http://example.org\">plain</a>", "<a href=\"mailto:ann@example.org\">mail</a>",
          "<a href=\"https://auto.example/x\">", "<a href=\"http://www.example.net\">", " file ",
          " script ", " anchor"},
         {"other.md", "javascript", "#top", "]("}},
        {"raw html safe and unsafe",
         "html.md",
         "H<sub>2</sub>O, x<sup>2</sup>, <kbd>Ctrl</kbd>, <b>bold</b><br>next "
         "<script>alert(1)</script> <span onclick=\"x()\">kept</span> &copy; &#x1F600; "
         "&unknown;\n\n<!-- hidden remark -->\n<details>\n<summary>Open me</summary>\n\n"
         "Inside *here*.\n\n</details>\n\n<iframe src=\"https://evil.example\"></iframe>\n\n"
         "<p align=\"center\"><img src=\"dot.png\" alt=\"Centred\"></p>\n",
         {"H<sub>2</sub>O", "x<sup>2</sup>", "<kbd>Ctrl</kbd>", "<b>bold</b><br/>next",
          "&lt;script&gt;alert(1)&lt;/script&gt;", "kept",
          "\xC2\xA9 \xF0\x9F\x98\x80 &amp;unknown;",
          "<details open=\"open\">\n<summary>Open me</summary>\n<p>Inside <em>here</em>.</p>\n"
          "</details>",
          "&lt;iframe src=\"https://evil.example\"&gt;",
          "<img src=\"../images/i0001.png\" alt=\"Centred\"/>"},
         {"hidden remark", "onclick", "<script", "<iframe", "<span"}},
        {"front matter",
         "front.md",
         "---\ntitle: 'Ann''s Notes'\nauthors:\n  - Ann Weaver\n  - Bo Lind\nlang: fr\n"
         "tags: [a, b]\n---\n# Not the title\n\nTexte.\n",
         {"opf:<dc:title>Ann's Notes</dc:title>", "opf:<dc:creator>Ann Weaver</dc:creator>",
          "opf:<dc:creator>Bo Lind</dc:creator>", "opf:<dc:language>fr", "Not the title</h1>"},
         {"tags:", "lang:", "<hr"}},
        {"language from prose, not code",
         "langue.md",
         "# Notizen\n\n```\n" +
             Repeated("the quick brown fox jumps over the lazy dog while the program runs\n", 80) +
             "```\n\nDie Katze schläft auf dem warmen Sofa, während draußen der Regen fällt "
             "und die Kinder in der Schule über die Geschichte ihrer Stadt lernen.\n",
         {"opf:<dc:language>de</dc:language>"},
         {}},
        {"unclosed front matter is a rule; lines of CJK join without a space",
         "rule.md",
         "---\ntitle: Shown\n\n\xE6\x97\xA5\xE6\x9C\xAC\n\xE8\xAA\x9E\n",
         {"<hr", "title: Shown", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},
         {}},
        // A "#" line may still head a plain text (its structure rules read it), but nothing of
        // Markdown's inline syntax is taken: the marks stay as written.
        {"a .txt keeps its marks as written",
         "notes.txt",
         "# Plain notes\n\n*not emphasis* and [no link](https://example.org)\n",
         {"*not emphasis* and [no link](https://example.org)"},
         {"<em>", "<a "}},
        {"malformed markdown",
         "broken.md",
         "*open emphasis and `open code\n\n```\nunclosed fence <&>\n\n[dangling](\n\n"
         "<div\n\n| a |\n|\n\x7f\xff bytes\n",
         {"*open emphasis and `open code", "unclosed fence &lt;&amp;&gt;"},
         {}},
        {"deep nesting is bounded",
         "deep.md",
         Repeated(">", 10000) + " deep quote\n\n" + Repeated("- ", 10000) + "deep item\n\n" +
             Repeated("<details>\n\n", 40) + "inside\n",
         {"deep quote", "deep item", "inside"},
         {}},
    };
}

class MarkdownBooks : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new TempDir();
        const std::string source = (*folder_) / "source";
        std::filesystem::create_directories(source + "/sub");
        WriteFile(source + "/dot.png", OnePixelPng());
        WriteFile((*folder_) / "outside.png", OnePixelPng());
        WriteFile(source + "/fake.png", "just words, not a picture");
        // A link inside the folder that leads out of it.
        std::filesystem::create_symlink("../outside.png", source + "/link.png");
        WriteFile(source + "/logo mark.svg",
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\">"
                  "<rect width=\"4\" height=\"4\"/></svg>");
        WriteFile(source + "/scripted.svg",
                  "<svg xmlns=\"http://www.w3.org/2000/svg\"><script>alert(1)</script></svg>");
        std::vector<std::string> books;
        for (const MarkdownCase& c : Cases()) {
            const std::string path = source + "/" + c.fileName;
            WriteFile(path, c.source);
            const std::string book = (*folder_) / (std::string(c.name) + ".epub");
            SaveDocument(OpenDocument(path), book);
            books.push_back(book);
        }
        verdicts_ = new std::vector<EpubcheckResult>(RunEpubcheck(books));
    }
    static void TearDownTestSuite() {
        delete verdicts_;
        delete folder_;
    }

    static TempDir* folder_;
    static std::vector<EpubcheckResult>* verdicts_;
};

TempDir* MarkdownBooks::folder_ = nullptr;
std::vector<EpubcheckResult>* MarkdownBooks::verdicts_ = nullptr;

TEST_F(MarkdownBooks, MarkupCarriesTheMeaningTheSourceWrote) {
    const std::vector<MarkdownCase> cases = Cases();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const MarkdownCase& c = cases[i];
        SCOPED_TRACE(c.name);
        const auto entries = ReadZip(ReadFile((*folder_) / (std::string(c.name) + ".epub")));
        std::string content;
        for (const ZipEntryInfo& entry : entries) {
            if (entry.name.find("EPUB/text/") != 0) {
                continue;
            }
            // A real XML parser accepts every content file.
            xmlDocPtr parsed = xmlReadMemory(
                entry.data.data(), static_cast<int>(entry.data.size()), entry.name.c_str(), nullptr,
                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
            EXPECT_NE(parsed, nullptr) << entry.name;
            xmlFreeDoc(parsed);
            const auto body = entry.data.find("<body>");
            content.append(entry.data.substr(body == std::string::npos ? 0 : body));
        }
        const std::string& opf = Entry(entries, "EPUB/package.opf").data;
        const std::string& nav = Entry(entries, "EPUB/nav.xhtml").data;
        const auto where =
            [&](std::string_view fragment) -> std::pair<const std::string*, std::string_view> {
            if (fragment.substr(0, 4) == "opf:") {
                return {&opf, fragment.substr(4)};
            }
            if (fragment.substr(0, 4) == "nav:") {
                return {&nav, fragment.substr(4)};
            }
            return {&content, fragment};
        };
        for (const std::string& fragment : c.present) {
            const auto [text, what] = where(fragment);
            EXPECT_NE(text->find(what), std::string::npos) << "missing: " << fragment;
        }
        for (const std::string& fragment : c.absent) {
            const auto [text, what] = where(fragment);
            EXPECT_EQ(text->find(what), std::string::npos) << "present: " << fragment;
        }
        if (std::string(c.name) == "files cut inside a list open it again") {
            EXPECT_GE(Count(content, "<ol>\n<li><pre><code class=\"language-text\">"), 2u);
        }
        if (std::string(c.name) == "deep nesting is bounded") {
            EXPECT_LE(Count(content, "<blockquote>"), 16u);
            EXPECT_LE(Count(content, "<ul>"), 16u);
            EXPECT_LE(Count(content, "<details") + Count(content, "class=\"details\""), 16u);
        }
        EXPECT_TRUE(verdicts_->at(i).Clean()) << verdicts_->at(i).output;
    }
}

}  // namespace
