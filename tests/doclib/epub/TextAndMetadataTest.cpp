// How source text, links and metadata reach the book's markup.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>

#include "doclib/epub/BookIdentity.h"
#include "doclib/epub/BookMetadata.h"
#include "doclib/epub/ContentWriter.h"
#include "doclib/epub/LinkTarget.h"
#include "doclib/epub/XhtmlText.h"
#include "tests/doclib/epub/BookSamples.h"

using namespace Tessaly::Docs;

namespace {

std::string Body(std::string_view text) {
    std::string out;
    bool afterSpace = false;
    AppendXhtmlText(out, text, afterSpace);
    return out;
}

const std::string kNbsp = "\xC2\xA0";
const std::string kFffd = "\xEF\xBF\xBD";

}  // namespace

TEST(XhtmlText, EscapesMarkupAndKeepsEverythingElseInOrder) {
    EXPECT_EQ(Body("a < b && c > \"d\" 'e'"), "a &lt; b &amp;&amp; c &gt; \"d\" 'e'");
    const std::string scripts =
        "Ελληνικά Кириллица 中文 日本語 العربية עברית "
        "😀👩‍💻";
    EXPECT_EQ(Body(scripts), scripts);
    EXPECT_EQ(XmlEscaped("say \"<hi>\" & go"), "say &quot;&lt;hi&gt;&quot; &amp; go");
}

TEST(XhtmlText, LineBreaksTabsAndSpaceRuns) {
    EXPECT_EQ(Body("one\ntwo"), "one<br/>two");
    EXPECT_EQ(Body("a\tb"),
              "a\xE2\x80\x83"
              "b");
    // A run keeps its width and still allows a line break after its first space.
    EXPECT_EQ(Body("a   b"), "a " + kNbsp + kNbsp + "b");
    EXPECT_EQ(Body("   lead"), " " + kNbsp + kNbsp + "lead");
    // The run continues across spans of one paragraph.
    std::string out;
    bool afterSpace = false;
    AppendXhtmlText(out, "a ", afterSpace);
    AppendXhtmlText(out, " b", afterSpace);
    EXPECT_EQ(out, "a " + kNbsp + "b");
    // Attribute and metadata text stays on one line.
    EXPECT_EQ(XmlEscaped("a\tb\nc"), "a b c");
}

TEST(XhtmlText, CharactersXmlRefusesAreDroppedAndBadBytesMarked) {
    EXPECT_EQ(Body(std::string("a\x01\x1f\x7f"
                               "b\0c",
                               7)),
              "abc");
    EXPECT_EQ(Body("x\xC2\x85y"), "xy");                    // C1 control U+0085
    EXPECT_EQ(Body("x\xEF\xBF\xBEy\xEF\xBF\xBFz"), "xyz");  // U+FFFE, U+FFFF
    EXPECT_EQ(Body("x\xEF\xB7\x90y"), "xy");                // noncharacter U+FDD0
    EXPECT_EQ(Body("x\xF4\x8F\xBF\xBFy"), "xy");            // U+10FFFF
    EXPECT_EQ(Body("a\xFF"
                   "b"),
              "a" + kFffd + "b");
    EXPECT_EQ(Body("a\xED\xA0\x80"
                   "b"),
              "a" + kFffd + kFffd + kFffd + "b");  // surrogate
    EXPECT_EQ(Body("a\xC0\xAF"
                   "b"),
              "a" + kFffd + kFffd + "b");       // overlong
    EXPECT_EQ(Body("a\xE2\x82"), "a" + kFffd);  // cut short: one mark for the stretch
    EXPECT_EQ(Body("\xF0\x9F\x98"), kFffd);
    EXPECT_EQ(XmlEscaped("a\x02\xFF"), "a" + kFffd);
}

TEST(XhtmlText, BoundCoversEveryOutput) {
    // The chapter plan relies on the bound never being exceeded.
    std::mt19937 rng(11);
    const std::string alphabet =
        std::string("&<>\"\n\t  ab\x01\xC2\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xFF\xED\xA0");
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const std::size_t n = rng() % 200;
        for (std::size_t i = 0; i < n; ++i) {
            text.push_back(alphabet[rng() % alphabet.size()]);
        }
        bool afterSpace = (round & 1) != 0;
        std::string out;
        AppendXhtmlText(out, text, afterSpace);
        ASSERT_LE(out.size(), XhtmlTextBound(text)) << round;
        std::size_t byteSum = 0;
        for (char c : text) {
            byteSum += XhtmlByteBound(static_cast<unsigned char>(c));
        }
        ASSERT_EQ(byteSum, XhtmlTextBound(text));
    }
}

TEST(XhtmlText, CollapseWhiteSpaceMakesOneLine) {
    EXPECT_EQ(CollapseWhiteSpace("  Chapter \t One\n\n "), "Chapter One");
    EXPECT_EQ(CollapseWhiteSpace(" \n\t"), "");
}

TEST(SceneBreak, ARuleTypedAsARunOfOneMarkIsARule) {
    const struct {
        std::string marker;
        bool rule;
    } cases[] = {
        {"------------------------------------------------------------------------------", true},
        {"  ~~~~~~~~  ", true},
        {"****", true},
        {"* * *", false},
        {"***", false},
        {"-- --", false},
        {"=-=-=-=-", false},
        {"\u2766", false},
    };
    for (const auto& c : cases) {
        Document doc;
        quillane::test::AddBlock(doc, BlockKind::SceneBreak, 0, c.marker);
        EXPECT_EQ(IsTypedRule(doc, doc.blocks.back()), c.rule) << c.marker;
    }
}

TEST(LinkTarget, OnlyWebAndMailLinksLeaveTheBook) {
    EXPECT_EQ(SafeHref("https://example.org/a?b=1&c=2#top"), "https://example.org/a?b=1&c=2#top");
    EXPECT_EQ(SafeHref("  HTTP://Example.org "), "http://Example.org");
    EXPECT_EQ(SafeHref("mailto:someone@example.org"), "mailto:someone@example.org");
    for (const char* unsafe : {"javascript:alert(1)", "file:///etc/passwd", "data:text/html,x",
                               "ftp://host/x", "chapter2.xhtml", "#anchor", "", "http://",
                               "https:///path", "mailto:", " jAvAsCrIpT:x", "vbscript:x"}) {
        EXPECT_FALSE(SafeHref(unsafe).has_value()) << unsafe;
    }
}

TEST(LinkTarget, CharactersAUrlMayNotHoldAreEncoded) {
    EXPECT_EQ(SafeHref("http://host/a b\"c<d>"), "http://host/a%20b%22c%3Cd%3E");
    EXPECT_EQ(SafeHref("http://host/ü"), "http://host/%C3%BC");
    EXPECT_EQ(SafeHref("http://host/#a#b"), "http://host/#a%23b");
    EXPECT_EQ(SafeHref("http://host/100%"), "http://host/100%25");
    EXPECT_EQ(SafeHref("http://host/%41%zz"), "http://host/%41%25zz");
}

TEST(BookMetadata, TitleFallsBackToTheOutputName) {
    Metadata m;
    m.title = "  The   Long\tRoad ";
    EXPECT_EQ(BookTitle(m, "/x/temp.epub"), "The Long Road");
    m.title = " \n ";
    EXPECT_EQ(BookTitle(m, "/books/my story.epub"), "my story");
    m.title = "\x01\x02";  // nothing printable left
    EXPECT_EQ(BookTitle(m, "relative.name.epub"), "relative.name");
    m.title.clear();
    EXPECT_EQ(BookTitle(m, "/books/.epub"), ".epub");
    EXPECT_EQ(BookTitle(m, "/books/"), "Untitled");
}

TEST(BookMetadata, LanguageIsAWellFormedTagOrUndetermined) {
    EXPECT_EQ(BookLanguage("en"), "en");
    EXPECT_EQ(BookLanguage(" de-CH "), "de-CH");
    EXPECT_EQ(BookLanguage("pt_BR"), "pt-BR");
    EXPECT_EQ(BookLanguage("zh-Hant-TW"), "zh-Hant-TW");
    EXPECT_EQ(BookLanguage("x-klingon"), "x-klingon");
    for (const char* bad : {"", "e", "en-", "-en", "en--US", "12", "english language", "x",
                            "en-toolongsubtag", "fr;DROP"}) {
        EXPECT_EQ(BookLanguage(bad), "und") << bad;
    }
}

TEST(BookMetadata, RightToLeftScripts) {
    EXPECT_TRUE(IsRightToLeft("ar"));
    EXPECT_TRUE(IsRightToLeft("he-IL"));
    EXPECT_TRUE(IsRightToLeft("FA"));
    EXPECT_TRUE(IsRightToLeft("pa-Arab"));
    EXPECT_FALSE(IsRightToLeft("az-Latn"));
    EXPECT_FALSE(IsRightToLeft("en"));
    EXPECT_FALSE(IsRightToLeft("und"));
    EXPECT_FALSE(IsRightToLeft("arn"));  // Mapudungun, written left to right
}

TEST(BookIdentity, RandomIdentifiersDifferAndAreUuids) {
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const std::string id = RandomUuid();
        ASSERT_EQ(id.size(), 36u);
        EXPECT_EQ(id[14], '4');
        EXPECT_NE(std::string("89ab").find(id[19]), std::string::npos);
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 200u);
}

TEST(BookIdentity, ContentIdentifiersFollowTheContent) {
    Document a;
    a.BeginBlock();
    a.AppendText("Once upon a time.");
    Document b = a;
    EXPECT_EQ(ContentUuid(a), ContentUuid(b));
    EXPECT_EQ(ContentUuid(a)[14], '8');
    b.AppendText("!");
    EXPECT_NE(ContentUuid(a), ContentUuid(b));
    Document c = a;
    c.metadata.title = "Other";
    EXPECT_NE(ContentUuid(a), ContentUuid(c));
    Document d = a;
    d.blocks[0].kind = BlockKind::Heading;
    d.blocks[0].level = 1;
    EXPECT_NE(ContentUuid(a), ContentUuid(d));
}

TEST(BookIdentity, SourceDateEpochFixesTimeAndIdentifier) {
    unsetenv("SOURCE_DATE_EPOCH");
    Document doc;
    doc.BeginBlock();
    doc.AppendText("text");
    const std::time_t before = std::time(nullptr);
    const BookIdentity now = MakeBookIdentity(doc);
    EXPECT_GE(now.modified, before);
    EXPECT_NE(MakeBookIdentity(doc).identifier, now.identifier);

    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    const BookIdentity fixed = MakeBookIdentity(doc);
    EXPECT_EQ(fixed.modified, 1700000000);
    EXPECT_EQ(fixed.identifier, "urn:uuid:" + ContentUuid(doc));
    EXPECT_EQ(MakeBookIdentity(doc).identifier, fixed.identifier);
    for (const char* bad : {"", "12x", "-5", " 1"}) {
        setenv("SOURCE_DATE_EPOCH", bad, 1);
        EXPECT_FALSE(SourceDateEpoch().has_value()) << bad;
    }
    unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_EQ(FormatUtc(1709214358), "2024-02-29T13:45:58Z");
    EXPECT_EQ(FormatUtc(0), "1970-01-01T00:00:00Z");
}
