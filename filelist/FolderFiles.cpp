#include "filelist/FolderFiles.h"

#include "filelist/FileProbe.h"
#include "filelist/FolderListing.h"
#include "filelist/Wildcard.h"
#include "util/AppError.h"
#include "util/PathHelpers.h"

namespace quillane {

std::vector<std::string> GetFolderFiles(const std::string& folder, const std::string& pattern) {
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != kSeparator) {
        prefix += kSeparator;
    }
    std::vector<std::string> names;
    std::vector<ListedEntry> entries;
    try {
        entries = ListFolder(prefix);
    } catch (const AppError&) {
        // A listing that finds nothing to list is an empty result, as on the desktop.
        return names;
    }
    for (auto& entry : entries) {
        if (!entry.isFolder && MatchesWildcard(entry.name, pattern) &&
            IsExistingFile(prefix + entry.name)) {
            names.push_back(std::move(entry.name));
        }
    }
    return names;
}

}  // namespace quillane
