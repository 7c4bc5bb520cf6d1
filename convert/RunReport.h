#pragma once
// What a conversion run did, told to the user before "Done.": every file that was not
// converted, with its reason, and every book of the run that a later entry replaced.

#include <string>
#include <vector>

namespace quillane {

struct FileFailure {
    std::string source;
    std::string reason;
};

struct ReplacedBook {
    std::string book;
    std::string earlierSource;
    std::string laterSource;
};

struct RunReport {
    int converted = 0;
    // What the user should know of the run as a whole (a temporary folder passed over).
    std::vector<std::string> notices;
    std::vector<FileFailure> failures;
    std::vector<ReplacedBook> replaced;

    bool Empty() const { return notices.empty() && failures.empty() && replaced.empty(); }
};

// At most this many failures (and replaced books) are listed one by one; the rest are counted.
inline constexpr std::size_t kListedFailures = 10;

// The message for a report that is not empty; `files` is the number of passes of the run.
std::string RunSummaryText(const RunReport& report, int files);

}  // namespace quillane
