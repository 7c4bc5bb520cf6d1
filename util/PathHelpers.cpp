#include "util/PathHelpers.h"

#include <sys/stat.h>

#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace quillane {

std::string FileNameOf(const std::string& path) {
    const auto p = path.find_last_of(kSeparator);
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string FolderOf(const std::string& path) {
    const auto p = path.find_last_of(kSeparator);
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string StripExtension(const std::string& fileName) {
    const auto p = fileName.find_last_of('.');
    if (p == std::string::npos || p == 0) {
        return fileName;
    }
    return fileName.substr(0, p);
}

namespace {

// Replaces each non-overlapping pair of separators by one, left to right.
std::string CollapsePairs(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == kSeparator && i + 1 < text.size() && text[i + 1] == kSeparator) {
            ++i;
        }
    }
    return out;
}

}  // namespace

std::string NormalizePath(const std::string& path) {
    if (path.empty() || path[0] != kSeparator) {
        return CollapsePairs(path);
    }
    // A POSIX absolute path keeps exactly one leading separator.
    const auto rest = path.find_first_not_of(kSeparator);
    if (rest == std::string::npos) {
        return std::string(1, kSeparator);
    }
    return std::string(1, kSeparator) + CollapsePairs(path.substr(rest));
}

std::string AbsolutePath(const std::string& path, const std::string& workingFolder) {
    if (path.empty() || path[0] == kSeparator) {
        return path;
    }
    if (workingFolder.empty() || workingFolder[0] != kSeparator) {
        return {};
    }
    std::string joined = workingFolder;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(kSeparator, start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string segment = path.substr(start, end - start);
        if (!segment.empty() && segment != ".") {
            joined += kSeparator + segment;
        }
        start = end + 1;
    }
    // A folder keeps the trailing separator it was typed with ("Books/", ".").
    const bool namesFolder = path.back() == kSeparator || path == "." || path.ends_with("/.");
    if (namesFolder && joined.back() != kSeparator) {
        joined += kSeparator;
    }
    return NormalizePath(joined);
}

std::string WorkingFolder() {
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    return folder ? std::string(folder.get()) : std::string();
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

std::optional<bool> FolderExists(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return S_ISDIR(st.st_mode);
}

std::string ShortenedTitle(const std::string& productName) {
    auto space = productName.find_last_of(' ');
    if (space == std::string::npos) {
        return productName;
    }
    std::string title = productName.substr(0, space);
    while (title.size() > 40 && (space = title.find_last_of(' ')) != std::string::npos) {
        title.resize(space);
    }
    return title;
}

std::string TempFolder() {
    for (const char* name : {"TEMP", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "/tmp";
}

}  // namespace quillane
