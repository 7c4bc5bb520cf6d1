// The parts of Markdown reading that decide on hostile or odd input: where a raw HTML tag ends,
// what front matter says, which character a reference names, and which image references may
// reach a file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "doclib/markdown/CharacterReferences.h"
#include "doclib/markdown/FrontMatter.h"
#include "doclib/markdown/HtmlTag.h"
#include "doclib/markdown/LocalImage.h"
#include "tests/support/TempHome.h"

using namespace Tessaly::Docs;
using namespace quillane::test;

namespace {

TEST(HtmlTagScanner, TagsEndWhereHtmlSaysAndNowhereElse) {
    struct Case {
        std::string html;
        bool isTag;
        std::size_t length;  // when it is one
        HtmlPieceKind kind;
    };
    const Case cases[] = {
        {"<br>", true, 4, HtmlPieceKind::OpenTag},
        {"<BR/>rest", true, 5, HtmlPieceKind::OpenTag},
        {"</kbd >", true, 7, HtmlPieceKind::CloseTag},
        {"<img alt=\"a > b\" src='x.png'>after", true, 29, HtmlPieceKind::OpenTag},
        {"<a href=x title=y>", true, 18, HtmlPieceKind::OpenTag},
        {"<!-- a > b -->x", true, 14, HtmlPieceKind::Hidden},
        {"<!-- never closed", true, 17, HtmlPieceKind::Hidden},
        {"<!DOCTYPE html>", true, 15, HtmlPieceKind::Hidden},
        {"< p>", false, 0, HtmlPieceKind::OpenTag},
        {"<1a>", false, 0, HtmlPieceKind::OpenTag},
        {"<a b=\"unclosed>", false, 0, HtmlPieceKind::OpenTag},
        {"<a\"b\">", false, 0, HtmlPieceKind::OpenTag},
        {"</a b>", false, 0, HtmlPieceKind::OpenTag},
        {"<a x=>", false, 0, HtmlPieceKind::OpenTag},
        {"<a" + std::string(kHtmlTagLimit, ' ') + ">", false, 0, HtmlPieceKind::OpenTag},
    };
    for (const Case& c : cases) {
        HtmlTagScanner scanner(c.html);
        HtmlTag tag;
        ASSERT_EQ(scanner.Read(0, tag), c.isTag) << c.html;
        if (c.isTag) {
            EXPECT_EQ(tag.length, c.length) << c.html;
            EXPECT_EQ(tag.kind, c.kind) << c.html;
        }
    }
}

TEST(HtmlTagScanner, AttributesAreReadWithTheirValuesAsWritten) {
    const std::string html = "<IMG Src=\"a&amp;b.png\" alt='it''s' hidden data-x=1>";
    HtmlTagScanner scanner(html);
    HtmlTag tag;
    ASSERT_FALSE(scanner.Read(0, tag));  // '' is not how HTML escapes a quote
    const std::string good = "<IMG Src=\"a&amp;b.png\" alt='its' hidden data-x=1>";
    HtmlTagScanner goodScanner(good);
    ASSERT_TRUE(goodScanner.Read(0, tag));
    EXPECT_EQ(tag.name, "img");
    EXPECT_EQ(tag.Attribute("src"), "a&amp;b.png");
    EXPECT_EQ(tag.Attribute("alt"), "its");
    EXPECT_TRUE(tag.HasAttribute("hidden"));
    EXPECT_EQ(tag.Attribute("data-x"), "1");
    EXPECT_FALSE(tag.HasAttribute("title"));
}

TEST(HtmlTagScanner, ManyUnclosedValuesAreNoTagsAndAreReadInOnePass) {
    // Each '<' starts a value whose quote never closes; the search for it is remembered.
    std::string html;
    for (int i = 0; i < 200000; ++i) {
        html += "<a x=\"";
    }
    HtmlTagScanner scanner(html);
    HtmlTag tag;
    std::size_t tags = 0;
    for (std::size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
        tags += scanner.Read(at, tag) ? 1 : 0;
    }
    EXPECT_EQ(tags, 0u);
}

TEST(FrontMatter, TitleAuthorsAndLanguageAreReadAndTheBlockSkipped) {
    struct Case {
        std::string text;
        std::string rest;  // what follows the block
        std::string title, author, language;
    };
    const Case cases[] = {
        {"---\ntitle: Plain\nauthor: Ann\nlang: de\n---\nBody", "Body", "Plain", "Ann", "de"},
        {"---\r\ntitle: \"Quoted \\\"one\\\"\" # a comment\r\n...\r\nBody", "Body",
         "Quoted \"one\"", "", ""},
        {"---\nTitle: Bare # comment\nAuthors: [Ann, 'Bo, Jr']\nlanguage: fr-CA\n---\n", "", "Bare",
         "Ann, Bo, Jr", "fr-CA"},
        {"---\nauthors:\n  - Ann\n  - Bo\ntitle: After\n---\n", "", "After", "Ann, Bo", ""},
        {"---\nnested:\n  title: Inner\n---\n", "", "", "", ""},
        {"--- \ntitle: x\n---\n", "", "x", "", ""},
    };
    for (const Case& c : cases) {
        const FrontMatter matter = ReadFrontMatter(c.text);
        EXPECT_EQ(c.text.substr(matter.length), c.rest) << c.text;
        EXPECT_EQ(matter.title, c.title) << c.text;
        EXPECT_EQ(matter.author, c.author) << c.text;
        EXPECT_EQ(matter.language, c.language) << c.text;
    }
    // Not front matter: shown as the Markdown it is.
    for (const std::string text : {"---\ntitle: Never closed\n", "\n---\ntitle: x\n---\n",
                                   "----\ntitle: x\n----\n", "---"}) {
        const FrontMatter matter = ReadFrontMatter(text);
        EXPECT_EQ(matter.length, 0u) << text;
        EXPECT_EQ(matter.title, "") << text;
    }
}

TEST(CharacterReferences, ReferencesNameTheirCharactersOrStayAsWritten) {
    const std::pair<std::string, std::string> cases[] = {
        {"&amp;", "&"},
        {"&eacute;", "\xC3\xA9"},
        {"&apos;", "'"},
        {"&#65;&#x42;&#X43;", "ABC"},
        {"&#0;", "\xEF\xBF\xBD"},
        {"&#xD800;", "\xEF\xBF\xBD"},
        {"&#x110000;", "\xEF\xBF\xBD"},
        {"&#99999999999999999999;", "\xEF\xBF\xBD"},
        {"&nosuchname;", "&nosuchname;"},
        {"&#; & &amp &;", "&#; & &amp &;"},
        {"a&lt;b&gt;c", "a<b>c"},
    };
    for (const auto& [in, out] : cases) {
        std::string decoded;
        AppendWithReferencesDecoded(decoded, in);
        EXPECT_EQ(decoded, out) << in;
    }
}

TEST(LocalImage, OnlyPathsThatStayInsideTheFolderAreFollowed) {
    TempDir dir;
    const std::string folder = dir / "doc";
    std::filesystem::create_directories(folder + "/pics");
    WriteFile(folder + "/pics/a b.png", "x");
    WriteFile(dir / "secret.png", "x");
    std::filesystem::create_symlink("../secret.png", folder + "/away.png");
    std::filesystem::create_symlink("pics/a b.png", folder + "/near.png");
    const std::string inside = std::filesystem::canonical(folder + "/pics/a b.png").string();
    const std::pair<std::string, bool> cases[] = {
        {"pics/a b.png", true},
        {"pics/a%20b.png?raw=true#top", true},
        {"./pics/../pics/a%20b.png", true},
        {"near.png", true},
        {"../secret.png", false},
        {"%2e%2e/secret.png", false},
        {"pics/../../secret.png", false},
        {"away.png", false},
        {"/etc/hostname", false},
        {"file:///etc/hostname", false},
        {"https://example.org/a.png", false},
        {"data:image/png;base64,AAAA", false},
        {"pics/missing.png", false},
        {"", false},
    };
    for (const auto& [reference, found] : cases) {
        const auto path = ResolveLocalImage(folder, reference);
        EXPECT_EQ(path.has_value(), found) << reference;
        if (path && found) {
            EXPECT_EQ(*path, inside) << reference;
        }
    }
    EXPECT_FALSE(ResolveLocalImage("", "pics/a b.png").has_value());
}

TEST(LocalImage, ImagesAreKnownByTheirBytes) {
    const std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "xmlns:xlink=\"http://www.w3.org/1999/xlink\">";
    const std::pair<std::string, std::string> cases[] = {
        {std::string("\x89PNG\r\n\x1a\n", 8) + "rest", "image/png"},
        {"\xFF\xD8\xFF\xE0rest", "image/jpeg"},
        {"GIF89a rest", "image/gif"},
        {svg + "<use xlink:href=\"#dot\"/><circle r=\"1\"/></svg>", "image/svg+xml"},
        {svg + "<image xlink:href=\"https://example.org/x.png\"/></svg>", ""},
        {svg + "<circle onload=\"x()\"/></svg>", ""},
        {svg + "<script>x()</script></svg>", ""},
        {"<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:e=\"urn:editor\"><e:view/></svg>", ""},
        {"<!DOCTYPE svg [<!ENTITY a \"b\">]><svg xmlns=\"http://www.w3.org/2000/svg\"/>", ""},
        {"<svg><circle r=\"1\"/></svg>", ""},
        {"<html xmlns=\"http://www.w3.org/2000/svg\"/>", ""},
        {"<svg xmlns=\"http://www.w3.org/2000/svg\"><unclosed></svg>", ""},
        {"plain words", ""},
    };
    for (const auto& [bytes, type] : cases) {
        EXPECT_EQ(ImageMediaType(bytes), type) << bytes;
    }
}

}  // namespace
