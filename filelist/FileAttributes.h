#pragma once
// File attribute bits as the intake rules test them, derived from what a POSIX file system
// knows: directory for a folder, hidden for a leading ".", archive on every regular file,
// read-only when the owner may not write, reparse point for a symbolic link. The system bit
// never occurs here.

#include <optional>
#include <string>

namespace quillane {

namespace attr {
inline constexpr int kReadOnly = 1;
inline constexpr int kHidden = 2;
inline constexpr int kSystem = 4;
inline constexpr int kDirectory = 16;
inline constexpr int kArchive = 32;
inline constexpr int kReparsePoint = 1024;

// Whole values the rules compare against, never as masks.
inline constexpr int kHiddenArchive = kHidden | kArchive;                      // 34
inline constexpr int kProtectedFolder = kHidden | kSystem | kDirectory;        // 22
inline constexpr int kProtectedFolderLink = kProtectedFolder | kReparsePoint;  // 1046
}  // namespace attr

// The attribute bits of `path`, or empty when nothing can be read there. A symbolic link
// carries the bits of what it points to plus the reparse point; a dangling one only that.
// Never throws.
std::optional<int> FileAttributes(const std::string& path);

}  // namespace quillane
