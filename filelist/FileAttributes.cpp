#include "filelist/FileAttributes.h"

#include <sys/stat.h>

#include "util/PathHelpers.h"

namespace quillane {

namespace {

// The name a path ends in; a folder given with its trailing separator is named by the part
// before it.
std::string LastName(std::string path) {
    while (path.size() > 1 && path.back() == kSeparator) {
        path.pop_back();
    }
    return FileNameOf(path);
}

}  // namespace

std::optional<int> FileAttributes(const std::string& path) {
    struct stat own {};
    if (path.empty() || ::lstat(path.c_str(), &own) != 0) {
        return std::nullopt;
    }
    int bits = 0;
    struct stat target = own;
    if (S_ISLNK(own.st_mode)) {
        bits |= attr::kReparsePoint;
        if (::stat(path.c_str(), &target) != 0) {
            return bits;
        }
    }
    if (S_ISDIR(target.st_mode)) {
        bits |= attr::kDirectory;
    } else if (S_ISREG(target.st_mode)) {
        bits |= attr::kArchive;
    }
    if ((target.st_mode & S_IWUSR) == 0) {
        bits |= attr::kReadOnly;
    }
    const std::string name = LastName(path);
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") {
        bits |= attr::kHidden;
    }
    return bits;
}

}  // namespace quillane
