#include "text/StagingRtf.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "convert/StagingText.h"
#include "tests/convert/BookText.h"
#include "tests/convert/SampleTexts.h"
#include "tests/support/TempHome.h"
#include "util/AppError.h"

namespace quillane {
namespace {

using test::TextOfStagingRtf;
using text::StagingRtf;
using text::WriteStagingRtf;

// The body of the document: what follows the header's "\pard\plain\f0 ".
std::string Body(const std::string& rtf) {
    const std::string marker = "\\pard\\plain\\f0 ";
    const auto at = rtf.find(marker);
    return at == std::string::npos ? rtf : rtf.substr(at + marker.size());
}

TEST(StagingRtf, DeclaresOneFontTheCodePageAndTheTitle) {
    const std::string rtf = StagingRtf("x", "my.story.txt");
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1", 0), 0u);
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0"), std::string::npos);
    EXPECT_EQ(rtf.find("{\\f1"), std::string::npos);
    EXPECT_NE(rtf.find("{\\info{\\title my.story.txt}}"), std::string::npos);
    EXPECT_EQ(rtf.back(), '\n');
    EXPECT_EQ(rtf[rtf.size() - 2], '}');
}

TEST(StagingRtf, EveryLineIsAParagraphWhateverItsEnd) {
    EXPECT_EQ(Body(StagingRtf("", "t")), "}\n");  // an empty body
    EXPECT_EQ(Body(StagingRtf("a\r\nb\nc\rd", "t")), "a\\par\nb\\par\nc\\par\nd\\par\n}\n");
    // An empty line is an empty paragraph; a final line end adds none.
    EXPECT_EQ(Body(StagingRtf("a\r\n\r\nb\r\n", "t")), "a\\par\n\\par\nb\\par\n}\n");
    // LF CR is two line ends, CR LF one.
    EXPECT_EQ(Body(StagingRtf("a\n\rb", "t")), "a\\par\n\\par\nb\\par\n}\n");
}

TEST(StagingRtf, EscapesAndCodePageCharacters) {
    EXPECT_EQ(Body(StagingRtf("a\\b{c}\td", "t")), "a\\\\b\\{c\\}\\tab d\\par\n}\n");
    // Windows-1252 characters, including its 0x80..0x9F letters, as \'hh.
    EXPECT_EQ(Body(StagingRtf("café € “x” ÿ", "t")), "caf\\'e9 \\'80 \\'93x\\'94 \\'ff\\par\n}\n");
    // Beyond the code page: \uN with a fallback; negative above 32767; pairs beyond U+FFFF.
    EXPECT_EQ(Body(StagingRtf("Жx", "t")), "\\u1046?x\\par\n}\n");
    EXPECT_EQ(Body(StagingRtf("\xEF\xBC\x81", "t")), "\\u-255?\\par\n}\n");  // U+FF01
    EXPECT_EQ(Body(StagingRtf("\xF0\x9F\x98\x80", "t")), "\\u-10179?\\u-8704?\\par\n}\n");
    // The title is escaped like text and kept on one line.
    EXPECT_NE(StagingRtf("", "{a}\\Ж\nb.txt").find("{\\title \\{a\\}\\\\\\u1046?b.txt}"),
              std::string::npos);
}

// Guards against "stormy\fnight" reaching the book as "stormynight".
TEST(StagingRtf, FormFeedIsAPageBreakAndVerticalTabALineBreak) {
    EXPECT_EQ(Body(StagingRtf("stormy\fnight and\vday", "t")),
              "stormy\\page\nnight and\\line day\\par\n}\n");
    // In the one-line title they part words like a space.
    EXPECT_NE(StagingRtf("", "a\fb\vc.txt").find("{\\title a b c.txt}"), std::string::npos);
}

TEST(StagingRtf, ReadsBackToTheSameTextInEveryScript) {
    const std::string text = test::kRussianText + test::kCzechText + test::kJapaneseText +
                             test::kChineseText + test::kFrenchText +
                             "Braces {x} \\ back\tslash, emoji \xF0\x9F\x98\x80.\n";
    std::string title;
    const std::string back = TextOfStagingRtf(StagingRtf(text, "Все.txt"), &title);
    std::string expected = text;
    // Every line end reads back as one paragraph end.
    for (std::size_t p; (p = expected.find("\r\n")) != std::string::npos;) {
        expected.replace(p, 2, "\n");
    }
    EXPECT_EQ(back, expected);
    EXPECT_EQ(title, "Все.txt");
}

TEST(StagingRtf, LargeTextIsHandedOutInBoundedPieces) {
    std::string text;
    for (int k = 0; k < 20000; ++k) {
        text += "Line " + std::to_string(k) + " of a long story.\n";
    }
    std::size_t largest = 0, total = 0;
    std::string joined;
    WriteStagingRtf(text, "big.txt", [&](std::string_view piece) {
        largest = std::max(largest, piece.size());
        total += piece.size();
        joined.append(piece);
    });
    EXPECT_LT(largest, 70000u);
    EXPECT_EQ(joined, StagingRtf(text, "big.txt"));
    EXPECT_EQ(TextOfStagingRtf(joined), text);
}

TEST(StagingText, AppendsChunksAndSavesTheDocument) {
    test::TempDir dir;
    StagingText staging;
    staging.Append("first ");
    staging.Append("second\n");
    EXPECT_EQ(staging.Text(), "first second\n");
    staging.SaveFile(dir / "temp.rtf", "a.txt");
    EXPECT_EQ(test::ReadFile(dir / "temp.rtf"), StagingRtf("first second\n", "a.txt"));
    staging.Clear();
    EXPECT_EQ(staging.Text(), "");

    // A folder that is not there: the save raises and leaves nothing behind.
    try {
        staging.SaveFile(dir / "missing/temp.rtf", "a.txt");
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), errc::kFileNotFound);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

}  // namespace
}  // namespace quillane
