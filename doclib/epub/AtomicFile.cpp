#include "doclib/epub/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "doclib/DocumentError.h"

namespace Tessaly::Docs {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The process's file creation mask, read without changing it: umask() itself can only be read
// by setting it, which would race with any other thread creating files.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        }
    }
    const mode_t mask = umask(022);
    umask(mask);
    return mask;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
    // A hidden name beside the target, so the rename stays within one file system.
    std::string name = NameOf(path_);
    if (name.size() > 200) {
        name.resize(200);
    }
    tempPath_ = FolderOf(path_) + "/." + name + ".XXXXXX";
    fd_ = mkostemp(tempPath_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        tempPath_.clear();
        throw DocumentError("cannot create '" + path_ + "': " + std::strerror(error));
    }
    buffer_.reserve(kBufferSize);
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) {
        close(fd_);
    }
    if (!tempPath_.empty()) {
        unlink(tempPath_.c_str());
    }
}

void AtomicFile::Fail(const std::string& what, int error) {
    throw DocumentError("cannot " + what + " '" + path_ + "': " + std::strerror(error));
}

void AtomicFile::Write(std::string_view bytes) {
    written_ += bytes.size();
    if (buffer_.size() + bytes.size() <= kBufferSize) {
        buffer_.append(bytes);
        return;
    }
    Flush();
    if (bytes.size() >= kBufferSize) {
        buffer_.assign(bytes);
        Flush();
    } else {
        buffer_.append(bytes);
    }
}

void AtomicFile::Flush() {
    const char* data = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, data, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail("write", errno);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

void AtomicFile::Commit() {
    if (fd_ < 0) {
        throw DocumentError("cannot write '" + path_ + "': the file is already closed");
    }
    Flush();
    // mkstemp makes the file private (0600); a book is an ordinary document.
    if (fchmod(fd_, 0666 & ~CurrentUmask()) != 0) {
        Fail("write", errno);
    }
    // When a book is replaced, its new data must be on disk before the rename, or a crash
    // could leave an empty book in place of the old one. A new book risks nothing of the
    // user's, so it is spared the wait: a batch writes thousands of them.
    struct stat existing {};
    if (::stat(path_.c_str(), &existing) == 0 && fsync(fd_) != 0) {
        Fail("write", errno);
    }
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) {
        Fail("write", errno);
    }
    if (std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        Fail("write", errno);
    }
    tempPath_.clear();
}

}  // namespace Tessaly::Docs
