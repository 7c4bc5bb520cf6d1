#include "filelist/OpenDialogResult.h"

#include "util/PathHelpers.h"

namespace quillane {

std::vector<std::string> SplitOpenResult(const std::string& result) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto nul = result.find('\0', start);
        parts.push_back(result.substr(start, nul - start));
        if (nul == std::string::npos) {
            return parts;
        }
        start = nul + 1;
    }
}

std::string JoinPicked(const std::string& folder, const std::string& name) {
    return NormalizePath(folder + kSeparator + name);
}

}  // namespace quillane
