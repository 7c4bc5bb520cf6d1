#include "convert/RunReport.h"

namespace quillane {

std::string RunSummaryText(const RunReport& report, int files) {
    std::string text;
    for (const std::string& notice : report.notices) {
        text += (text.empty() ? "" : "\r\r") + notice;
    }
    if (!report.failures.empty()) {
        if (!text.empty()) {
            text += "\r\r";
        }
        const std::size_t failed = report.failures.size();
        text += std::to_string(failed) + " of " + std::to_string(files) +
                (files == 1 ? " file was" : " files were") + " not converted:\r";
        for (std::size_t k = 0; k < failed && k < kListedFailures; ++k) {
            text += "\r" + report.failures[k].source + ": " + report.failures[k].reason;
        }
        if (failed > kListedFailures) {
            text += "\r... and " + std::to_string(failed - kListedFailures) + " more.";
        }
    }
    if (!report.replaced.empty()) {
        if (!text.empty()) {
            text += "\r\r";
        }
        text += "A later entry of the list replaced ";
        text += report.replaced.size() == 1 ? "this book:\r" : "these books:\r";
        const std::size_t replaced = report.replaced.size();
        for (std::size_t k = 0; k < replaced && k < kListedFailures; ++k) {
            const ReplacedBook& r = report.replaced[k];
            text += "\r" + r.book + " (made from " + r.earlierSource + ", replaced by " +
                    r.laterSource + ")";
        }
        if (replaced > kListedFailures) {
            text += "\r... and " + std::to_string(replaced - kListedFailures) + " more.";
        }
    }
    return text;
}

}  // namespace quillane
