#include "filelist/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "filelist/NameCharacters.h"
#include "util/AppError.h"
#include "util/PathHelpers.h"

namespace quillane {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

[[noreturn]] void RaiseFolderError(int errnoValue) {
    // A folder that is not there any more is a path, not a file, that cannot be found.
    if (errnoValue == ENOENT) {
        Raise(errc::kPathNotFound);
    }
    RaiseFromErrno(errnoValue);
}

bool PointsToFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::vector<ListedEntry> ListFolder(const std::string& folder) {
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != kSeparator) {
        prefix += kSeparator;
    }
    std::unique_ptr<DIR, DirCloser> dir(::opendir(prefix.c_str()));
    if (!dir) {
        RaiseFolderError(errno);
    }
    std::vector<ListedEntry> entries;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            if (errno != 0) {
                RaiseFolderError(errno);
            }
            break;
        }
        std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            isFolder = PointsToFolder(prefix + name);
        }
        entries.push_back({std::move(name), isFolder});
    }
    SortListingOrder(entries);
    return entries;
}

void SortListingOrder(std::vector<ListedEntry>& entries) {
    std::vector<std::pair<std::u32string, std::size_t>> keys;
    keys.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        keys.emplace_back(FoldedName(entries[i].name), i);
    }
    std::sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first) {
            return a.first < b.first;
        }
        return entries[a.second].name < entries[b.second].name;
    });
    std::vector<ListedEntry> sorted;
    sorted.reserve(entries.size());
    for (const auto& key : keys) {
        sorted.push_back(std::move(entries[key.second]));
    }
    entries = std::move(sorted);
}

}  // namespace quillane
