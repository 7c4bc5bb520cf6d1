#include "convert/Deployment.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "util/AppError.h"
#include "util/PathHelpers.h"

namespace quillane {

std::string CreatePrivateFolder(const std::string& parent) {
    std::string pattern = NormalizePath(parent + kSeparator + "quillane-run-XXXXXX");
    // mkdtemp creates the folder with mode 0700 and a name nobody could have predicted.
    if (::mkdtemp(pattern.data()) == nullptr) {
        RaiseFromErrno(errno);
    }
    return pattern;
}

void WriteBytesToFile(std::string_view bytes, const std::string& path, unsigned mode,
                      const std::function<void()>& yield) {
    if (yield) {
        yield();
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        return;
    }
    // O_EXCL with O_NOFOLLOW: a file or link that appears meanwhile is not written through.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          static_cast<mode_t>(mode));
    if (fd < 0) {
        if (errno == EEXIST) {
            return;
        }
        RaiseFromErrno(errno);
    }
    int failure = 0;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            failure = errno;
            break;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    // The umask may have taken bits the converter needs.
    if (failure == 0 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
        failure = errno;
    }
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(path.c_str());
        RaiseFromErrno(failure);
    }
}

void DeleteFileQuietly(const std::string& path, const std::function<void()>& yield) {
    if (yield) {
        yield();
    }
    if (!path.empty()) {
        ::unlink(path.c_str());
    }
}

void RemoveFolderQuietly(const std::string& path) {
    if (!path.empty()) {
        ::rmdir(path.c_str());
    }
}

}  // namespace quillane
