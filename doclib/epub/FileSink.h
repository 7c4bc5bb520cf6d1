#pragma once
// The book's bytes on their way to its path: an atomic file, so the path holds the complete
// book or whatever it held before, never part of one.

#include <cstdint>
#include <string>
#include <string_view>

#include "doclib/epub/ByteSink.h"
#include "fileio/AtomicFile.h"

namespace Tessaly::Docs {

class FileSink final : public ByteSink {
  public:
    // Throws DocumentError ("cannot create '...': cause") when the folder does not take the
    // file.
    explicit FileSink(std::string path);

    // Throws DocumentError ("cannot write '...': cause").
    void Write(std::string_view bytes) override;
    std::uint64_t Position() const override { return file_.Position(); }

    // Puts the complete file at the path; throws DocumentError on failure, leaving the path as
    // it was.
    void Commit();

  private:
    [[noreturn]] void Fail(const std::string& what, const fileio::FileStatus& status) const;

    std::string path_;
    fileio::AtomicFile file_;
};

}  // namespace Tessaly::Docs
