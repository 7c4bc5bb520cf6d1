#pragma once
// A file that appears at its path complete or not at all. Where the file system allows it the
// bytes go to an unnamed file in the target folder, which Commit() links in: a process that
// is stopped by any means, even killed outright, leaves nothing behind. Elsewhere (FAT media,
// some network shares) they go to a hidden temporary file beside the path, which Commit()
// renames over it; such a file is removed by the destructor on any failure and by
// RemoveUncommittedFiles() when a signal ends the process. Until the commit an existing file
// at the path is never touched.

#include <string>
#include <string_view>

#include "doclib/epub/ByteSink.h"
#include "fileio/File.h"

namespace Tessaly::Docs {

class AtomicFile final : public ByteSink {
  public:
    enum class Staging {
        // Unnamed when the file system can, else a named temporary file.
        kBest,
        // Always a named temporary file, as on file systems without unnamed files.
        kNamed,
    };

    // Creates the temporary file in the folder of `path`; throws DocumentError ("cannot
    // create '...': cause") when the folder does not take it.
    explicit AtomicFile(std::string path, Staging staging = Staging::kBest);
    ~AtomicFile() override;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(std::string_view bytes) override;
    std::uint64_t Position() const override { return written_; }

    // Flushes, gives the file the permissions of a normal new file and puts it at the path.
    // Throws DocumentError on failure, leaving the path as it was.
    void Commit();

    // True while the data lives in an unnamed file.
    bool unnamed() const { return unnamed_; }

  private:
    void Flush();
    void LinkUnnamed();
    void RenameNamed();
    [[noreturn]] void Fail(const std::string& what, int error);

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

}  // namespace Tessaly::Docs
