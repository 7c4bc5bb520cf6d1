#pragma once
// What a file's first bytes say it is, by the system's database of file signatures
// (libmagic): "image/png", "application/zip", "application/x-sharedlib", ... The database is
// opened on the first question and kept for the owner's lifetime, so a batch loads it once.
// Not for sharing between threads.

#include <optional>
#include <string>
#include <string_view>

namespace text {

class FileSignatures {
  public:
    FileSignatures() = default;
    ~FileSignatures();
    FileSignatures(const FileSignatures&) = delete;
    FileSignatures& operator=(const FileSignatures&) = delete;

    // The MIME type of the file that begins with `head` ("application/octet-stream" when no
    // signature matches); nullopt when the database cannot be loaded (LoadError() says why).
    std::optional<std::string> MimeTypeOf(std::string_view head);

    // Empty unless loading the database failed.
    const std::string& LoadError() const { return loadError_; }

  private:
    bool Load();

    void* cookie_ = nullptr;
    std::string loadError_;
};

}  // namespace text
