#include "convert/Deployment.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fileio/File.h"
#include "util/AppError.h"
#include "util/FileBytes.h"
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
    // A file or link already at the path is neither replaced nor written through.
    const fileio::FileStatus status = fileio::WriteNewFile(path, bytes, mode);
    if (!status.ok() && status.error() != EEXIST) {
        RaiseFileStatus(status);
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
