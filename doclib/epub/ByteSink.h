#pragma once
// Where the container's bytes go. The ZIP writer only ever appends, so the same code writes a
// book to a file on disk or to memory (tests, and anything that wants the bytes themselves).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Tessaly::Docs {

class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // Appends the bytes; throws DocumentError when they cannot be written.
    virtual void Write(std::string_view bytes) = 0;
    // Bytes written so far.
    virtual std::uint64_t Position() const = 0;
};

// Keeps everything in a string.
class MemorySink final : public ByteSink {
  public:
    void Write(std::string_view bytes) override { data_.append(bytes); }
    std::uint64_t Position() const override { return data_.size(); }
    const std::string& data() const { return data_; }

  private:
    std::string data_;
};

}  // namespace Tessaly::Docs
