#include "convert/RunReport.h"

#include <gtest/gtest.h>

namespace quillane {
namespace {

int Occurrences(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) {
        ++n;
    }
    return n;
}

TEST(RunSummaryText, ListsEachFailedFileWithItsReason) {
    RunReport report;
    report.failures = {{"/b/a.txt", "File not found"}, {"/b/c.txt", "ZOD2UVOV: bad RTF"}};
    const std::string text = RunSummaryText(report, 3);
    EXPECT_EQ(text,
              "2 of 3 files were not converted:\r\r/b/a.txt: File not found\r"
              "/b/c.txt: ZOD2UVOV: bad RTF");
    report.failures.resize(1);
    EXPECT_EQ(RunSummaryText(report, 1).rfind("1 of 1 file was not converted:", 0), 0u);
}

TEST(RunSummaryText, ManyFailuresShowTheFirstTenAndACount) {
    RunReport report;
    for (int k = 1; k <= 25; ++k) {
        report.failures.push_back({"/b/" + std::to_string(k) + ".txt", "Permission denied"});
    }
    const std::string text = RunSummaryText(report, 1000);
    EXPECT_EQ(text.rfind("25 of 1000 files were not converted:", 0), 0u);
    EXPECT_EQ(Occurrences(text, "Permission denied"), 10);
    EXPECT_NE(text.find("/b/10.txt"), std::string::npos);
    EXPECT_EQ(text.find("/b/11.txt"), std::string::npos);
    EXPECT_NE(text.find("... and 15 more."), std::string::npos);
}

TEST(RunSummaryText, NamesTheEarlierBookThatWasReplaced) {
    RunReport report;
    report.replaced = {{"/out/a.epub", "/x/a.txt", "/y/a.txt"}};
    EXPECT_EQ(RunSummaryText(report, 2),
              "A later entry of the list replaced this book:\r\r/out/a.epub (made from "
              "/x/a.txt, replaced by /y/a.txt)");
    report.failures = {{"/z/b.txt", "File not found"}};
    const std::string both = RunSummaryText(report, 3);
    EXPECT_LT(both.find("not converted"), both.find("replaced this book"));
}

}  // namespace
}  // namespace quillane
