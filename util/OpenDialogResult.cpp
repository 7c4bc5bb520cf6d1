#include "util/OpenDialogResult.h"

#include <algorithm>

#include "util/AppError.h"
#include "util/PathHelpers.h"

namespace quillane {

namespace {

// The folder part of a path without its trailing separator, keeping the root's.
std::string ParentFolder(const std::string& path) {
    const std::string folder = FolderOf(path);
    return folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
}

bool HoldsPath(const std::string& folder, const std::string& path) {
    if (folder.empty()) {
        return true;
    }
    const std::string prefix = folder == "/" ? folder : folder + kSeparator;
    return path.compare(0, prefix.size(), prefix) == 0;
}

// The deepest folder that holds every path ("" when they share none).
std::string SharedFolder(const std::vector<std::string>& paths) {
    std::string shared = ParentFolder(paths.front());
    for (const std::string& path : paths) {
        while (!HoldsPath(shared, path)) {
            shared = shared == "/" ? std::string() : ParentFolder(shared);
        }
    }
    return shared;
}

std::size_t CodePoints(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace

std::string ComposeOpenResult(const std::vector<std::string>& paths, std::size_t maxFileSize) {
    std::string result;
    if (paths.size() == 1) {
        result = paths.front();
    } else if (paths.size() > 1) {
        const std::string folder = SharedFolder(paths);
        const std::size_t skip =
            folder.empty() ? 0 : (folder == "/" ? folder.size() : folder.size() + 1);
        result = folder;
        for (const std::string& path : paths) {
            result += '\0';
            result += path.substr(skip);
        }
    }
    if (CodePoints(result) > maxFileSize) {
        Raise(errc::kBufferTooSmall);
    }
    return result;
}

}  // namespace quillane
