#pragma once
// Runs the EPUB checker on a book and reads its verdict.

#include <string>

namespace quillane::test {

struct EpubcheckResult {
    int exitCode = -1;
    int fatals = 0;
    int errors = 0;
    int warnings = 0;
    std::string output;  // the checker's whole report, for failure messages

    bool Clean() const { return exitCode == 0 && fatals == 0 && errors == 0 && warnings == 0; }
};

EpubcheckResult RunEpubcheck(const std::string& bookPath);

}  // namespace quillane::test
