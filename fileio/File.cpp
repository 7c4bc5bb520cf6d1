#include "fileio/File.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace fileio {

namespace {

constexpr std::size_t kReadPiece = 1 << 16;

}  // namespace

File::~File() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = other.Release();
    }
    return *this;
}

int File::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

FileStatus File::Close() {
    const int fd = Release();
    // The descriptor is gone even when close reports an error; it is never retried.
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) {
        return FileStatus::System(errno);
    }
    return {};
}

FileStatus File::WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FileStatus::System(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

FileStatus File::ReadAll(std::string& bytes, std::uint64_t limit) {
    std::uint64_t got = 0;
    for (;;) {
        const std::size_t start = bytes.size();
        // One byte past the limit is enough to know the file is too large.
        const std::uint64_t room = limit - got + 1;
        const std::size_t piece =
            static_cast<std::size_t>(std::min<std::uint64_t>(room, kReadPiece));
        bytes.resize(start + piece);
        const ssize_t n = ::read(fd_, bytes.data() + start, piece);
        if (n < 0) {
            bytes.resize(start);
            if (errno == EINTR) {
                continue;
            }
            return FileStatus::System(errno);
        }
        bytes.resize(start + static_cast<std::size_t>(n));
        if (n == 0) {
            return {};
        }
        got += static_cast<std::uint64_t>(n);
        if (got > limit) {
            return FileStatus::TooLarge(limit);
        }
    }
}

FileStatus File::Sync() {
    return ::fsync(fd_) == 0 ? FileStatus() : FileStatus::System(errno);
}

FileStatus File::SetMode(unsigned mode) {
    return ::fchmod(fd_, static_cast<mode_t>(mode)) == 0 ? FileStatus() : FileStatus::System(errno);
}

FileStatus OpenRegularFile(const std::string& path, File& file) {
    if (path.empty()) {
        return FileStatus::System(ENOENT);
    }
    // Looking first spares a device the side effects of being opened at all.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return FileStatus::System(errno);
    }
    if (!S_ISREG(st.st_mode)) {
        return FileStatus::NotRegularFile(st.st_mode & S_IFMT);
    }
    // Non-blocking, because the path may have been swapped for a pipe since it was looked at.
    File opened(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!opened.IsOpen()) {
        return FileStatus::System(errno);
    }
    if (::fstat(opened.descriptor(), &st) != 0) {
        return FileStatus::System(errno);
    }
    if (!S_ISREG(st.st_mode)) {
        return FileStatus::NotRegularFile(st.st_mode & S_IFMT);
    }
    const int flags = ::fcntl(opened.descriptor(), F_GETFL);
    if (flags < 0 || ::fcntl(opened.descriptor(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return FileStatus::System(errno);
    }
    file = std::move(opened);
    return {};
}

FileStatus ReadRegularFile(const std::string& path, std::uint64_t limit, std::string& bytes) {
    File file;
    if (FileStatus status = OpenRegularFile(path, file); !status.ok()) {
        return status;
    }
    struct stat st {};
    if (::fstat(file.descriptor(), &st) == 0 && st.st_size > 0 &&
        static_cast<std::uint64_t>(st.st_size) <= limit) {
        // One byte more shows the end without growing the buffer again.
        bytes.reserve(bytes.size() + static_cast<std::size_t>(st.st_size) + 1);
    }
    return file.ReadAll(bytes, limit);
}

namespace {

// Opens `path` for writing with `flags` added; a symbolic link at the path is never followed.
FileStatus OpenForWriting(const std::string& path, int flags, unsigned mode, File& file) {
    File opened(::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | flags,
                       static_cast<mode_t>(mode)));
    if (!opened.IsOpen()) {
        return FileStatus::System(errno);
    }
    file = std::move(opened);
    return {};
}

}  // namespace

FileStatus CreateNewFile(const std::string& path, unsigned mode, File& file) {
    return OpenForWriting(path, O_EXCL, mode, file);
}

FileStatus CreateOrTruncateFile(const std::string& path, unsigned mode, File& file) {
    return OpenForWriting(path, O_TRUNC, mode, file);
}

FileStatus WriteNewFile(const std::string& path, std::string_view bytes, unsigned mode) {
    File file;
    if (FileStatus status = CreateNewFile(path, mode, file); !status.ok()) {
        return status;
    }
    FileStatus status = file.WriteAll(bytes);
    // The umask may have taken bits the caller needs (a program's execute bits).
    if (status.ok()) {
        status = file.SetMode(mode);
    }
    if (FileStatus closed = file.Close(); status.ok()) {
        status = closed;
    }
    if (!status.ok()) {
        ::unlink(path.c_str());
    }
    return status;
}

}  // namespace fileio
