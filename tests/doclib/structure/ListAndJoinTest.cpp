// List items with their continuation lines and nesting, and the joins of wrapped lines by
// script: what goes between two lines is decided by the characters either side, and nothing of
// the author's text is rewritten.

#include <gtest/gtest.h>

#include <algorithm>

#include "doclib/structure/LineJoin.h"
#include "doclib/structure/ListMarker.h"
#include "doclib/structure/Refine.h"
#include "tests/doclib/structure/StagedText.h"

namespace {

using Tessaly::Docs::Block;
using Tessaly::Docs::BlockKind;
using Tessaly::Docs::Document;
using namespace quillane::test;

struct Item {
    std::string text;
    int level;
    bool ordered;
    unsigned number;
    bool operator==(const Item&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Item& i) {
    return os << "{" << i.text << ", " << i.level << ", " << i.ordered << ", " << i.number << "}";
}

std::vector<Item> Items(const Document& doc) {
    std::vector<Item> out;
    for (const Block& b : doc.blocks) {
        if (b.kind == BlockKind::ListItem) {
            out.push_back({doc.BlockText(b), b.level, b.listOrdered, b.listNumber});
        }
    }
    return out;
}

std::string Prose() {
    return HardWrap({"The settings live in one file in the home folder, and the program reads "
                     "it once when it starts and again whenever the file changes on disk."},
                    66, false, "    ");
}

TEST(ListMarkers, BulletsNumbersAndLetters) {
    using Tessaly::Docs::ParseListMarker;
    EXPECT_FALSE(ParseListMarker("* item")->ordered);
    EXPECT_EQ(ParseListMarker("\u2022 item")->columns, 2);
    EXPECT_EQ(ParseListMarker("12) item")->number, 12u);
    EXPECT_EQ(ParseListMarker("(3) item")->number, 3u);
    EXPECT_EQ(ParseListMarker("b) item")->number, 2u);
    EXPECT_EQ(ParseListMarker("4.   item")->columns, 5);
    EXPECT_EQ(ParseListMarker("\u2022\u00A0item")->columns, 2);
    EXPECT_EQ(ParseListMarker("7.\u00A0\u00A0item")->columns, 4);
    EXPECT_FALSE(ParseListMarker("\u2022\u00A0"));
    // Dialogue dashes, years, words and bare markers open no item.
    EXPECT_FALSE(ParseListMarker("\u2013 Yes, she said."));
    EXPECT_FALSE(ParseListMarker("\u2014 No."));
    EXPECT_FALSE(ParseListMarker("1999. A year"));
    EXPECT_FALSE(ParseListMarker("--verbose"));
    EXPECT_FALSE(ParseListMarker("*"));
    EXPECT_FALSE(ParseListMarker("*emphasis*"));
}

TEST(Lists, BulletsTakeTheirContinuationLinesAndNest) {
    const std::string text = Prose() + "\n" +
                             "      * Commitment to free software: the social contract\n"
                             "        and the free software guidelines\n"
                             "\n"
                             "          + This keeps the\n"
                             "            environment.\n"
                             "\n"
                             "      * Large number of packages\n"
                             "\n" +
                             Prose();
    const Document doc = Refined(text);
    EXPECT_EQ(Items(doc), (std::vector<Item>{
                              {"* Commitment to free software: the social contract and the free "
                               "software guidelines",
                               1, false, 0},
                              {"+ This keeps the environment.", 2, false, 0},
                              {"* Large number of packages", 1, false, 0},
                          }));
    EXPECT_EQ(WordsOf(text), WordsOf(doc));
}

TEST(Lists, ItemsIndentedWithNoBreakSpacesAreItems) {
    // Text dumps indent a line with no-break spaces now and then; the marker is the same.
    const std::string nbsp = "\u00A0";
    const std::string text = Prose() + "\n      * Read, write and remove any file\n\n" + nbsp +
                             nbsp + nbsp + "   * Set the owner of any file\n\n" +
                             "      * Set any password\n";
    const std::vector<Item> items = Items(Refined(text));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1], (Item{"* Set the owner of any file", 1, false, 0}));

    // Renders of web pages set a no-break space between the bullet and the item.
    const std::string bullets = Prose() + "\n     \u2022" + nbsp + "disk sdb, 4 GB, all free;\n" +
                                "     \u2022" + nbsp + "disk sdc, 4 GB, all free too.\n";
    const std::vector<Item> rendered = Items(Refined(bullets));
    ASSERT_EQ(rendered.size(), 2u);
    EXPECT_EQ(rendered[1], (Item{"\u2022" + nbsp + "disk sdc, 4 GB, all free too.", 1, false, 0}));
}

TEST(Lists, NumberedItemsKeepTheNumbersWritten) {
    const std::string text =
        "Steps to follow:\n\n"
        "3. Open the archive\n"
        "4. Pick the folder; the program\n"
        "   remembers it\n"
        "7. Press start\n\n"
        "a) first choice\n"
        "b) second choice\n";
    const Document doc = Refined(text);
    EXPECT_EQ(Items(doc), (std::vector<Item>{
                              {"3. Open the archive", 1, true, 3},
                              {"4. Pick the folder; the program remembers it", 1, true, 4},
                              {"7. Press start", 1, true, 7},
                              {"a) first choice", 1, true, 1},
                              {"b) second choice", 1, true, 2},
                          }));
    EXPECT_EQ(WordsOf(text), WordsOf(doc));
}

TEST(Lists, FlushItemsCarriedOnByTheWrap) {
    std::string text = HardWrap({"A paragraph that wraps onto several lines before the list "
                                 "begins, so the text has a clear width to wrap at, which is "
                                 "what the shape of the document is judged on."},
                                60);
    text +=
        "\n- an item that goes on for long enough to be wrapped by the\n"
        "editor at the same width as the prose\n"
        "- a short one\n";
    const Document doc = Refined(text);
    const std::vector<Item> items = Items(doc);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text,
              "- an item that goes on for long enough to be wrapped by the editor at the same "
              "width as the prose");
}

TEST(Lists, DialogueStaysProse) {
    const std::string text =
        "\u2013 Are you coming? she asked.\n\n\u2013 Not tonight, he said.\n\n"
        "\u2014 Then tomorrow.\n";
    const Document doc = Refined(text);
    EXPECT_TRUE(Items(doc).empty());
    EXPECT_EQ(WordsOf(text), WordsOf(doc));
}

TEST(LineJoins, TheScriptDecidesTheSpace) {
    using Tessaly::Docs::SpaceAtJoin;
    EXPECT_FALSE(SpaceAtJoin("本書はシ", "ステム管理"));            // kana
    EXPECT_FALSE(SpaceAtJoin("这是一个", "测试"));                  // Han
    EXPECT_FALSE(SpaceAtJoin("说明。", "Debian"));                  // full-width stop
    EXPECT_FALSE(SpaceAtJoin("ภาษาไทย", "เขียนติดกัน"));               // Thai
    EXPECT_TRUE(SpaceAtJoin("한국어는", "띄어 씁니다"));            // Hangul
    EXPECT_TRUE(SpaceAtJoin("Русский", "текст"));                   // Cyrillic
    EXPECT_TRUE(SpaceAtJoin("plain", "words"));                     // Latin
    EXPECT_TRUE(SpaceAtJoin("本 Debian", "リファレンス") == true);  // Latin before kana
    // Quotes, ellipses and dashes shared with European type sit against Han unspaced; beside
    // Latin they keep the space.
    EXPECT_FALSE(SpaceAtJoin("他说：“", "你好。”"));
    EXPECT_FALSE(SpaceAtJoin("“你好。”", "他笑了"));
    EXPECT_FALSE(SpaceAtJoin("他沉默了……", "然后走了"));
    EXPECT_FALSE(SpaceAtJoin("港口——", "灯塔"));
    EXPECT_TRUE(SpaceAtJoin("he said “hello”", "and left"));
    EXPECT_TRUE(SpaceAtJoin("wait…", "then go"));
    // A cut web address goes on without a space; a sentence after one does not.
    EXPECT_FALSE(SpaceAtJoin("see https://", "www.example.org"));
    EXPECT_FALSE(SpaceAtJoin("at https://example.org/docs/", "guide/index.html"));
    EXPECT_TRUE(SpaceAtJoin("at https://example.org/", "and then"));
    EXPECT_TRUE(SpaceAtJoin("at https://example.org.", "Then"));
    // The address ends where no address byte follows: a quote, a bracket, a Han full stop.
    EXPECT_FALSE(SpaceAtJoin("e.g., \"http://", "deb.example.org/debian/\"."));
    EXPECT_FALSE(SpaceAtJoin("（http://", "www.example.org/guide.html），可以"));
    EXPECT_FALSE(SpaceAtJoin("就像 https://", "www.example.org。你可以"));
    EXPECT_TRUE(SpaceAtJoin("see http://example.org/", "\"Updates\" there"));
}

TEST(LineJoins, WrappedCjkParagraphsJoinWithoutSpaces) {
    const std::string ja =
        "    本書はシステムインストール後のユーザー案内書として、広範な概論を提\n"
        "    供します。本書は非開発者を対象にシェルコマンド例を通してシステム管\n"
        "    理の多くの局面を説明します。\n";
    const Document doc = Refined(ja + "\n" + ja + "\n" + ja);
    ASSERT_FALSE(doc.blocks.empty());
    EXPECT_EQ(doc.BlockText(doc.blocks[0]),
              "本書はシステムインストール後のユーザー案内書として、広範な概論を提供します。本書は"
              "非開発者を対象にシェルコマンド例を通してシステム管理の多くの局面を説明します。");
}

// Wrapped Chinese text of our own at 70 columns; every paragraph is one paragraph of the book.
TEST(LineJoins, CjkParagraphsJoinWhateverTheirLinesHold) {
    const std::string filler =
        "    系统启动以后，日志会不断写入磁盘。定期查看日志能帮你尽早发现问题，\n"
        "    比如磁盘空间不足、服务反复重启或者有人在反复尝试登录。养成每周看一\n"
        "    次的习惯，会省下很多排查故障的时间。\n";
    // A word set between bars is a tag in running text, not the rules of a table.
    const std::string tags =
        "    在帮助页面里，把光标移到 \"|quickref|\" 这样两边带竖线的标签上，再按\n"
        "    下跳转键，就能打开对应的说明页。想回到上一页时按 Ctrl-T 就可以了。\n";
    // Latin names that open lines are no capitals of verse in Han text.
    const std::string names =
        "    常用的网站服务器软件有好几种，它们的配置方式各不相同，但思路相通：\n"
        "    Apache、Nginx 和 Lighttpd 都能直接提供静态文件，也都能把动态请求转\n"
        "    交给 PostgreSQL 或 MariaDB 这类数据库背后的应用程序来处理，这正是\n"
        "    Linux 服务器上常见的做法。选择哪一种，主要看你的需求和熟悉程度。\n";
    const Document doc =
        Refined(filler + "\n" + tags + "\n" + filler + "\n" + names + "\n" + filler);
    const std::vector<std::string> blocks = BlockTexts(doc);
    ASSERT_EQ(blocks.size(), 5u);
    EXPECT_EQ(blocks[1],
              "在帮助页面里，把光标移到 \"|quickref|\" 这样两边带竖线的标签上，再按下跳转键，"
              "就能打开对应的说明页。想回到上一页时按 Ctrl-T 就可以了。");
    EXPECT_EQ(blocks[3],
              "常用的网站服务器软件有好几种，它们的配置方式各不相同，但思路相通：Apache、Nginx "
              "和 Lighttpd 都能直接提供静态文件，也都能把动态请求转交给 PostgreSQL 或 MariaDB "
              "这类数据库背后的应用程序来处理，这正是 Linux "
              "服务器上常见的做法。选择哪一种，主要看你的需求和熟悉程度。");
}

TEST(Fidelity, NoCharacterIsRewritten) {
    const std::string text =
        "He paused -- for example -- and said \"no\" -- twice.\n\n"
        "-- for example --\n\n"
        "It's 'quoted' and \"quoted\" -- as typed.\n\n"
        "One -- two -- three -- four.\n";
    const Document doc = Refined(text);
    std::string all;
    for (const std::string& block : BlockTexts(doc)) {
        all += block + "\n\n";
    }
    EXPECT_EQ(all, text + "\n");
}

TEST(Fidelity, IndentationOfNoBreakSpacesIsLayout) {
    // Text dumps indent with no-break spaces now and then; that is no text of the author's.
    const std::string nbsp = "\u00A0";
    std::string text = Prose() + "\n";
    text += nbsp + nbsp + nbsp + " The next paragraph begins with no-break spaces and goes on\n";
    text += "    for a second line of text, as wrapped paragraphs of the document do.\n";
    const Document doc = Refined(text + "\n" + Prose());
    ASSERT_EQ(doc.blocks.size(), 3u);
    EXPECT_EQ(doc.BlockText(doc.blocks[1]),
              "The next paragraph begins with no-break spaces and goes on for a second line of "
              "text, as wrapped paragraphs of the document do.");
}

}  // namespace

TEST(LineJoins, HangingIndentsOfCjkTextLeaveNoIndentRunsInParagraphs) {
    // A question and its answer, the answer's wrapped end under a hanging indent of ASCII or
    // ideographic spaces; the group is too short to count as wrapped prose.
    for (const std::string pad : {"        ", "\u3000\u3000\u3000\u3000"}) {
        SCOPED_TRACE(pad);
        const std::string qa =
            "    問：船の時刻表はどこで見られますか。\n"
            "    答：事務所の入口の掲示板と、待合室の壁に貼ってあります。毎月\n" +
            pad + "一日に新しいものに替えます。\n";
        const std::string lead =
            "  この文書は、港の事務所でよく聞かれる質問とその答えを集めたもので\n"
            "  す。質問は分野ごとに並べてあります。最初に事務所の時間について\n"
            "  説明します。\n";
        const Document doc = Refined(lead + "\n" + qa + "\n" + lead + "\n" + qa);
        const std::vector<std::string> texts = BlockTexts(doc);
        EXPECT_NE(std::find(texts.begin(), texts.end(),
                            "答：事務所の入口の掲示板と、待合室の壁に貼ってあります。毎月一日に新し"
                            "いものに替えます。"),
                  texts.end());
        for (const std::string& text : texts) {
            EXPECT_EQ(text.find("  "), std::string::npos) << text;
            EXPECT_EQ(text.find("\u3000\u3000"), std::string::npos) << text;
        }
    }
}
