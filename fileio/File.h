#pragma once
// An open file descriptor that closes itself. Every read, write and creation of a whole file
// in the program and in the document library goes through here, so the careful parts (no
// blocking on a pipe or device, bounded reads, retried short writes, no half-written file)
// exist once.

#include <cstdint>
#include <string>
#include <string_view>

#include "fileio/FileStatus.h"

namespace fileio {

class File {
  public:
    File() = default;
    explicit File(int descriptor) : fd_(descriptor) {}
    ~File();
    File(File&& other) noexcept : fd_(other.Release()) {}
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int descriptor() const { return fd_; }
    // Gives up ownership: the caller closes the descriptor.
    int Release();

    // Closes now, so that a late write error (reported by close) is seen.
    FileStatus Close();
    // Writes all of `bytes`, retrying short and interrupted writes.
    FileStatus WriteAll(std::string_view bytes);
    // Appends everything up to the end to `bytes`; more than `limit` bytes is kTooLarge (and
    // nothing beyond limit + 1 is read).
    FileStatus ReadAll(std::string& bytes, std::uint64_t limit);
    FileStatus Sync();
    FileStatus SetMode(unsigned mode);

  private:
    int fd_ = -1;
};

// Opens a regular file for reading. A named pipe, device, socket or folder at the path is
// refused without waiting on it: the path is looked at first and opened non-blocking, and
// what was opened is checked again.
FileStatus OpenRegularFile(const std::string& path, File& file);

// The whole content of the regular file at `path`, at most `limit` bytes.
FileStatus ReadRegularFile(const std::string& path, std::uint64_t limit, std::string& bytes);

// Creates a file that does not exist yet (an existing file or link at the path is EEXIST).
FileStatus CreateNewFile(const std::string& path, unsigned mode, File& file);

// Creates the file or empties an existing one (a symbolic link at the path is not followed).
FileStatus CreateOrTruncateFile(const std::string& path, unsigned mode, File& file);

// Creates `path` holding exactly `bytes` with `mode` (the umask does not apply). An existing
// file or link is EEXIST and left alone; on any other failure no file remains at the path.
FileStatus WriteNewFile(const std::string& path, std::string_view bytes, unsigned mode);

}  // namespace fileio
