#pragma once
// A file that appears at its path complete or not at all. Where the file system allows it the
// bytes go to an unnamed file in the target folder, which Commit() links in: a process that
// is stopped by any means, even killed outright, leaves nothing behind. Elsewhere (FAT media,
// some network shares) they go to a hidden temporary file beside the path, which Commit()
// renames over it; such a file is removed by the destructor on any failure and by
// RemoveUncommittedFiles() when a signal ends the process. Until the commit an existing file
// at the path is never touched.

#include <cstdint>
#include <string>
#include <string_view>

#include "fileio/File.h"
#include "fileio/FileStatus.h"

namespace fileio {

class AtomicFile {
  public:
    enum class Staging {
        // Unnamed when the file system can, else a named temporary file.
        kBest,
        // Always a named temporary file, as on file systems without unnamed files.
        kNamed,
    };

    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file in the folder of `path`, once; fails when the folder does not
    // take it.
    FileStatus Open(std::string path, Staging staging = Staging::kBest);

    FileStatus Write(std::string_view bytes);
    // Bytes written so far.
    std::uint64_t Position() const { return written_; }

    // Flushes, gives the file the permissions of a normal new file and puts it at the path.
    // On failure the path stays as it was.
    FileStatus Commit();

    // True from a successful Open until the commit has closed the file.
    bool IsOpen() const { return file_.IsOpen(); }
    // True while the data lives in an unnamed file.
    bool unnamed() const { return unnamed_; }

  private:
    FileStatus Flush();
    FileStatus LinkUnnamed();
    FileStatus RenameNamed();

    std::string path_;
    // The named temporary file, while one exists.
    std::string tempPath_;
    // Where RemoveUncommittedFiles finds the named temporary file; -1 when not recorded.
    int pendingSlot_ = -1;
    fileio::File file_;
    bool unnamed_ = false;
    bool committed_ = false;
    std::string buffer_;
    std::uint64_t written_ = 0;
};

// Removes the named temporary files of every AtomicFile of this process that has not been
// committed. Safe to call from a signal handler; the converter calls it when a signal ends it.
void RemoveUncommittedFiles() noexcept;

}  // namespace fileio
