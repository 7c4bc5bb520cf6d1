#pragma once
// The outcome of a file operation as a value: success, a system error (errno), or one of the
// two refusals of a careful reader: the path names no regular file, or the file is larger
// than the reader takes. Each caller turns it into its own error type.

#include <cstdint>
#include <string>

namespace fileio {

class FileStatus {
  public:
    enum class Kind : std::uint8_t { kOk, kSystem, kNotRegularFile, kTooLarge };

    FileStatus() = default;
    static FileStatus System(int error) { return FileStatus(Kind::kSystem, error, 0); }
    // `fileType` is the S_IFMT part of the mode found at the path.
    static FileStatus NotRegularFile(unsigned fileType) {
        return FileStatus(Kind::kNotRegularFile, 0, fileType);
    }
    static FileStatus TooLarge(std::uint64_t limit) {
        return FileStatus(Kind::kTooLarge, 0, limit);
    }

    bool ok() const { return kind_ == Kind::kOk; }
    Kind kind() const { return kind_; }
    // The errno value of a system error, 0 otherwise.
    int error() const { return error_; }
    // The file type of a refused path, or the byte limit a file exceeded.
    std::uint64_t detail() const { return detail_; }

    // One line for a person: "No such file or directory", "it is a named pipe, not a regular
    // file", "it is larger than 1024 MiB".
    std::string Describe() const;

  private:
    FileStatus(Kind kind, int error, std::uint64_t detail)
        : kind_(kind), error_(error), detail_(detail) {}

    Kind kind_ = Kind::kOk;
    int error_ = 0;
    std::uint64_t detail_ = 0;
};

}  // namespace fileio
