#pragma once
// Runs the EPUB checker on books and reads its verdicts. Many books go through one Java process
// (tests/support/EpubcheckBatch.java): the checker's start costs seconds, a book a fraction.

#include <string>
#include <vector>

namespace quillane::test {

struct EpubcheckResult {
    std::string book;
    int exitCode = -1;  // 0 without errors, 1 with; -1 when the checker gave no verdict
    int fatals = 0;
    int errors = 0;
    int warnings = 0;
    std::string output;  // the checker's report on this book, for failure messages

    bool Clean() const { return exitCode == 0 && fatals == 0 && errors == 0 && warnings == 0; }
};

// One verdict per book, in the order given, from a single run of the checker.
std::vector<EpubcheckResult> RunEpubcheck(const std::vector<std::string>& bookPaths);

// A batch of one.
EpubcheckResult RunEpubcheck(const std::string& bookPath);

}  // namespace quillane::test
