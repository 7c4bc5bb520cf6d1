// A Markdown source travels through the staging document byte for byte, and only a document
// that carries both of its destinations before the body is taken for one.

#include "doclib/rtf/StagedMarkdown.h"

#include <gtest/gtest.h>

#include <string>

#include "doclib/rtf/RtfReader.h"
#include "text/StagingRtf.h"

namespace {

using Tessaly::Docs::FindStagedMarkdown;

std::string AllBytes() {
    std::string bytes;
    for (int b = 1; b < 256; ++b) {
        bytes.push_back(static_cast<char>(b));
    }
    return bytes + std::string(1, '\0');
}

TEST(StagedMarkdown, TextAndPathComeBackExactly) {
    const struct {
        std::string text;
        std::string path;
    } cases[] = {
        {"", "/notes/empty.md"},
        {"# Title\r\n\r\n*a* {b} \\c\\ `d`\n\ttab \x7f\x01\f\v\n", "/a b/{x}\\y.md"},
        {"caf\xC3\xA9 \xD0\x96 \xE2\x82\xAC \xF0\x9F\x98\x80\n", "/r\xE9pertoire/\xFF\x80.md"},
        {" leading space, 12 digits\n", AllBytes() + ".md"},
        {std::string(200000, '{') + "\\par}", "/deep.md"},
    };
    for (const auto& c : cases) {
        const std::string rtf = text::StagingRtf(c.text, "t.md", c.path);
        const auto staged = FindStagedMarkdown(rtf);
        ASSERT_TRUE(staged.has_value()) << c.path;
        EXPECT_EQ(staged->text, c.text);
        EXPECT_EQ(staged->sourcePath, c.path);
    }
}

// Guards against a reader that cannot know the destinations showing the source twice.
TEST(StagedMarkdown, OtherReadersSeeOnlyTheParagraphs) {
    const std::string text = "# Heading\n\nSome *prose* and {braces}.\n";
    const auto plain = Tessaly::Docs::ReadRtf(text::StagingRtf(text, "t.md"));
    const auto marked = Tessaly::Docs::ReadRtf(text::StagingRtf(text, "t.md", "/t.md"));
    EXPECT_EQ(marked.text, plain.text);
    EXPECT_EQ(marked.blocks.size(), plain.blocks.size());
}

TEST(StagedMarkdown, OnlyADocumentWithBothDestinationsBeforeItsBodyIsMarkdown) {
    const char* notMarkdown[] = {
        "",
        "plain text",
        "{\\rtf1\\ansi Hello\\par}",
        "{\\rtf1{\\*\\quillanemarkdown # a}}",
        "{\\rtf1{\\*\\quillanemarkdownsource /a.md}}",
        // After the body has begun they are no longer the staging's.
        "{\\rtf1 Body{\\*\\quillanemarkdownsource /a.md}{\\*\\quillanemarkdown # a}}",
        "{\\rtf1{\\*\\quillanemarkdownsource1 /a.md}{\\*\\quillanemarkdown # a}}",
        "{\\rtf1{{\\*\\quillanemarkdownsource /a.md}{\\*\\quillanemarkdown # a}}}",
        "{\\rtf1{\\*}{}{\\*{\\*\\quillanemarkdownsource /a.md}}{\\*\\quillanemarkdown # a}}",
    };
    for (const char* rtf : notMarkdown) {
        EXPECT_FALSE(FindStagedMarkdown(rtf).has_value()) << rtf;
    }
    // Other header groups, nested ones included, and a truncated end are passed over.
    const auto found = FindStagedMarkdown(
        "{\\rtf1{\\fonttbl{\\f0 A;}}{\\*\\x{\\y}}\\pard{\\*\\quillanemarkdownsource /a.md}"
        "{\\*\\quillanemarkdown # a\\'0a\\'ff}\\par b");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->sourcePath, "/a.md");
    EXPECT_EQ(found->text, "# a\n\xC3\xBF");  // a stray byte read as its Windows-1252 letter
}

}  // namespace
