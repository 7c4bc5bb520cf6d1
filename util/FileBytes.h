#pragma once
// Reading a whole small file (a skin, a pointer image) into memory.

#include <cstdint>
#include <string>

namespace fileio {
class FileStatus;
}

namespace quillane {

// What ReadSmallFile takes when the caller names no limit.
inline constexpr std::uint64_t kSmallFileLimit = 16 * 1024 * 1024;

// The bytes of the regular file at `path`, read without waiting on a pipe or device. Raises
// AppError 53 (missing), 70 (no permission), 76 (bad path) or 57 (anything else, a path that
// is no regular file or a file larger than `limit` among them, with that reason).
std::string ReadSmallFile(const std::string& path, std::uint64_t limit = kSmallFileLimit);

// Raises the AppError a failed file operation amounts to.
[[noreturn]] void RaiseFileStatus(const fileio::FileStatus& status);

// True for an existing regular file that is not hidden (its name does not begin with ".").
bool IsNormalFile(const std::string& path);

}  // namespace quillane
