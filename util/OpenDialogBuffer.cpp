#include "util/OpenDialogBuffer.h"

#include <algorithm>
#include <string_view>

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

std::size_t CodePoints(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace

std::size_t OpenResultLength(const std::vector<std::string>& paths) {
    if (paths.size() <= 1) {
        return paths.empty() ? 0 : CodePoints(paths.front());
    }
    const std::string folder = SharedFolder(paths);
    const std::size_t skip = folder.empty() ? 0 : (folder == "/" ? 1 : folder.size() + 1);
    std::size_t length = CodePoints(folder);
    for (const std::string& path : paths) {
        // A NUL, then the name within the folder.
        length += 1 + CodePoints(std::string_view(path).substr(skip));
    }
    return length;
}

void CheckOpenBuffer(const std::vector<std::string>& paths, std::size_t maxFileSize) {
    if (OpenResultLength(paths) > maxFileSize) {
        Raise(errc::kBufferTooSmall);
    }
}

}  // namespace quillane
