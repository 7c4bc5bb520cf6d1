#include "convert/TextChunks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "text/TextDecoder.h"
#include "util/AppError.h"

namespace quillane {

namespace {

// Closes the descriptor on every path out.
class FileHandle {
  public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

std::string ReadFileBytes(const std::string& path) {
    if (path.empty()) {
        Raise(errc::kFileNotFound);
    }
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        RaiseFromErrno(errno);
    }
    struct stat st {};
    if (::fstat(file.get(), &st) != 0) {
        RaiseFromErrno(errno);
    }
    if (S_ISDIR(st.st_mode)) {
        throw AppError(errc::kDeviceIo, "Path is a folder, not a text file");
    }
    std::string bytes;
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    }
    char buffer[1 << 16];
    while (true) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            RaiseFromErrno(errno);
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

namespace {

// True when the `count` bytes at `p` are all ASCII, checked eight at a time.
bool AllAscii(const char* p, std::size_t count) {
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if ((word & 0x8080808080808080ULL) != 0) {
            return false;
        }
    }
    for (; i < count; ++i) {
        if (static_cast<unsigned char>(p[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<std::string> SplitIntoChunks(std::string_view utf8) {
    std::vector<std::string> chunks;
    chunks.reserve(utf8.size() / kChunkCharacters + 1);
    std::size_t start = 0;
    while (start < utf8.size()) {
        const std::size_t left = utf8.size() - start;
        std::size_t end = start;
        if (left >= kChunkCharacters && AllAscii(utf8.data() + start, kChunkCharacters)) {
            end = start + kChunkCharacters;  // the common case: one byte per character
        } else {
            // Count characters; a continuation byte belongs to the character before it.
            std::size_t characters = 0;
            while (end < utf8.size()) {
                if ((static_cast<unsigned char>(utf8[end]) & 0xC0) != 0x80) {
                    if (characters == kChunkCharacters) {
                        break;
                    }
                    ++characters;
                }
                ++end;
            }
        }
        chunks.emplace_back(utf8.substr(start, end - start));
        start = end;
    }
    if (chunks.empty()) {
        chunks.emplace_back();
    }
    return chunks;
}

std::vector<std::string> ReadTextChunks(const std::string& path) {
    std::string bytes = ReadFileBytes(path);
    if (text::LooksLikeBinary(bytes)) {
        throw AppError(errc::kTypeMismatch, text::kNotTextMessage);
    }
    return SplitIntoChunks(text::DecodeText(std::move(bytes)).utf8);
}

}  // namespace quillane
