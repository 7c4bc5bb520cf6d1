#pragma once
// Small, stateless helpers that take paths apart, put them together and probe the file
// system. Paths are plain UTF-8 text with "/" as the only separator; comparisons are exact.

#include <optional>
#include <string>

namespace quillane {

inline constexpr char kSeparator = '/';

// The part after the last separator ("" when the path ends in one).
std::string FileNameOf(const std::string& path);
// The part up to and including the last separator ("" when there is none).
std::string FolderOf(const std::string& path);
// The name without its last extension; a name whose only dot is its first character, or a
// name without a dot, stays as it is.
std::string StripExtension(const std::string& fileName);
// Doubled separators collapsed in one left-to-right pass; a leading run becomes a single "/".
std::string NormalizePath(const std::string& path);

// `path` made absolute against `workingFolder` (itself absolute): an absolute path stays as it
// is, a relative one is joined to the folder, and "." segments are dropped ("." names the
// folder itself, "./Books" its "Books"). ".." is kept: only the file system knows where it leads
// through a symbolic link. An empty path, or a relative one without a working folder, gives "".
std::string AbsolutePath(const std::string& path, const std::string& workingFolder);
// The program's working folder, where a relative path typed by the user starts; "" when it
// cannot be read (it was removed).
std::string WorkingFolder();

// True when the path names something whose modification time can be read. Never throws.
bool FileExists(const std::string& path);
// True for a folder, false for anything else that exists, empty when nothing can be read
// there. Never throws.
std::optional<bool> FolderExists(const std::string& path);
// True only when FolderExists gives true.
inline bool IsFolder(const std::string& path) {
    return FolderExists(path).value_or(false);
}

// The application title from a product name: its last word removed, then further last words
// while the result is longer than 40 characters. A one-word name stays whole.
std::string ShortenedTitle(const std::string& productName);

// The temporary folder: TEMP, else TMPDIR, else /tmp, read afresh at each call.
std::string TempFolder();

}  // namespace quillane
