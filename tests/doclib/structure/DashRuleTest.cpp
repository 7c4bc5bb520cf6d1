// Two hyphens become an em dash only where the whole text uses them so; nothing else changes.

#include <gtest/gtest.h>

#include "doclib/structure/DashRule.h"
#include "doclib/structure/Refine.h"
#include "tests/doclib/structure/StagedText.h"

namespace {

using namespace quillane::test;

std::string Joined(const Tessaly::Docs::Document& doc) {
    std::string out;
    for (const std::string& text : BlockTexts(doc)) {
        out += text + "|";
    }
    return out;
}

TEST(DashRule, ConsistentDoubleHyphensBecomeEmDashes) {
    const std::string text =
        "She waited--as she always did--until the lamps came on.\n\n"
        "The ferry was late -- later than ever -- and the quay was empty.\n\n"
        "\"Nobody,\" she said, \"gets off here.\"\n";
    EXPECT_EQ(Joined(Refined(text)),
              "She waited\u2014as she always did\u2014until the lamps came on.|"
              "The ferry was late \u2014 later than ever \u2014 and the quay was empty.|"
              "\"Nobody,\" she said, \"gets off here.\"|");  // straight quotes stay
}

TEST(DashRule, InconsistentUseLeavesEveryHyphenAlone) {
    for (const char* odd : {"\"--and then?\"", "Wait---no.", "She stopped--", "-- a list item"}) {
        const std::string text = std::string(
                                     "She waited--as she always did--until the lamps came on--and "
                                     "then went home.\n\n") +
                                 odd + "\n";
        EXPECT_EQ(Joined(Refined(text)),
                  "She waited--as she always did--until the lamps came on--and then went home.|" +
                      std::string(odd) + "|")
            << odd;
    }
    // Two are too few to show a habit.
    EXPECT_EQ(Joined(Refined("One--two--three.\n")), "One--two--three.|");
}

TEST(DashRule, ADashAtAWrappedLineEndCountsWhenTheJoinMeetsAWord) {
    std::string text;
    for (int i = 0; i < 6; ++i) {
        text +=
            "The boats came in one by one across the grey water of the bay, and she\n"
            "counted them from the office window--every single evening, without fail--\n"
            "until the last had tied up and the harbour was quiet again for the night.\n\n";
    }
    const auto doc = Refined(text);
    ASSERT_EQ(doc.blocks.size(), 6u);
    EXPECT_EQ(
        BlockTexts(doc)[0],
        "The boats came in one by one across the grey water of the bay, and she counted "
        "them from the office window\u2014every single evening, without fail\u2014until the last "
        "had tied up and the harbour was quiet again for the night.");
}

TEST(DashRule, CountsAndReplacement) {
    const auto count = Tessaly::Docs::CountDoubleHyphens("a--b c -- d --e f--g ---");
    EXPECT_EQ(count.betweenWords, 4u);
    EXPECT_EQ(count.other, 1u);
    const auto edges = Tessaly::Docs::CountDoubleHyphens("--begin and end--");
    EXPECT_TRUE(edges.atStart);
    EXPECT_TRUE(edges.atEnd);
    std::string out;
    Tessaly::Docs::AppendWithEmDashes(out, "a--b -- c--");
    EXPECT_EQ(out, "a\u2014b \u2014 c\u2014");
}

}  // namespace
