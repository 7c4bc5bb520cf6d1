// A document written by a real word processor from a text of our own
// (data/lighthouse-source.html converted to data/lighthouse.rtf).

#include <gtest/gtest.h>

#include "RtfTestText.h"

namespace {

using Tessaly::Docs::BlockKind;
using Tessaly::Docs::Document;

class WordProcessorDocument : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        doc_ = new Document(Tessaly::Docs::ReadRtfFile(RTF_TEST_DATA "/lighthouse.rtf"));
    }
    static void TearDownTestSuite() {
        delete doc_;
        doc_ = nullptr;
    }
    // The first block whose text starts with `start`, or nullptr.
    static const Tessaly::Docs::Block* Find(const std::string& start) {
        for (const auto& block : doc_->blocks) {
            if (doc_->BlockText(block).rfind(start, 0) == 0) {
                return &block;
            }
        }
        return nullptr;
    }
    static Document* doc_;
};

Document* WordProcessorDocument::doc_ = nullptr;

TEST_F(WordProcessorDocument, TitleAndHeadings) {
    EXPECT_EQ(doc_->metadata.title, "The Lighthouse Keeper");
    const auto* title = Find("The Lighthouse Keeper");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->kind, BlockKind::Heading);
    EXPECT_EQ(title->level, 1);
    const auto* chapter = Find("Chapter Two");
    ASSERT_NE(chapter, nullptr);
    EXPECT_EQ(chapter->kind, BlockKind::Heading);
    EXPECT_EQ(chapter->level, 2);
    EXPECT_TRUE(doc_->hasParagraphFormatting);
}

TEST_F(WordProcessorDocument, FormattingAndLink) {
    const auto* para = Find("Marta climbed");
    ASSERT_NE(para, nullptr);
    EXPECT_EQ(doc_->BlockText(*para),
              "Marta climbed the ninety-two steps every evening, never once counting them aloud.");
    bool bold = false;
    bool italic = false;
    for (std::uint32_t i = 0; i < para->spanCount; ++i) {
        const auto& span = doc_->spans[para->firstSpan + i];
        bold =
            bold || (doc_->SpanText(span) == "ninety-two" && span.format == Tessaly::Docs::kBold);
        italic = italic ||
                 (doc_->SpanText(span) == "never once" && span.format == Tessaly::Docs::kItalic);
    }
    EXPECT_TRUE(bold);
    EXPECT_TRUE(italic);
    ASSERT_EQ(doc_->links, std::vector<std::string>{"https://example.org/logbook"});
    const auto* linked = Find("The logbook");
    ASSERT_NE(linked, nullptr);
    const auto& span = doc_->spans[linked->firstSpan + 1];
    EXPECT_EQ(doc_->SpanText(span), "the last entry");
    EXPECT_TRUE(span.format & Tessaly::Docs::kLink);
}

TEST_F(WordProcessorDocument, TableRowsAndNonLatinText) {
    ASSERT_NE(Find("Night\tWind"), nullptr);
    ASSERT_NE(Find("Monday\tNorth-east"), nullptr);
    const auto* letters = Find("Her brother");
    ASSERT_NE(letters, nullptr);
    EXPECT_EQ(doc_->BlockText(*letters),
              "Her brother wrote from Kyiv: «Привіт, сестро!» and from Athens: Καλησπέρα. "
              "A friend in Tokyo added 灯台守.");
}

}  // namespace
