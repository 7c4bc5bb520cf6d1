#pragma once
// A file that appears at its path complete or not at all: the bytes go to a temporary file in
// the target folder, which Commit() renames over the path. Until then an existing file at the
// path is never touched, and a file that is destroyed uncommitted removes its temporary.

#include <string>
#include <string_view>

#include "doclib/epub/ByteSink.h"

namespace Tessaly::Docs {

class AtomicFile final : public ByteSink {
  public:
    // Creates the temporary file beside `path`; throws DocumentError ("cannot create '...':
    // cause") when the folder does not take it.
    explicit AtomicFile(std::string path);
    ~AtomicFile() override;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(std::string_view bytes) override;
    std::uint64_t Position() const override { return written_; }

    // Flushes, syncs, gives the file the permissions of a normal new file and renames it over
    // the path. Throws DocumentError on failure, leaving the path as it was.
    void Commit();

  private:
    void Flush();
    [[noreturn]] void Fail(const std::string& what, int error);

    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    std::string buffer_;
    std::uint64_t written_ = 0;
};

}  // namespace Tessaly::Docs
