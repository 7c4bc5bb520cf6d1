#include "util/FileBytes.h"

#include <sys/stat.h>

#include "fileio/File.h"
#include "util/AppError.h"
#include "util/PathHelpers.h"

namespace quillane {

void RaiseFileStatus(const fileio::FileStatus& status) {
    if (status.kind() == fileio::FileStatus::Kind::kSystem) {
        RaiseFromErrno(status.error());
    }
    std::string reason = status.Describe();
    if (!reason.empty()) {
        reason[0] = static_cast<char>(reason[0] - 'a' + 'A');
    }
    throw AppError(errc::kDeviceIo, reason);
}

std::string ReadSmallFile(const std::string& path, std::uint64_t limit) {
    std::string bytes;
    if (const fileio::FileStatus status = fileio::ReadRegularFile(path, limit, bytes);
        !status.ok()) {
        RaiseFileStatus(status);
    }
    return bytes;
}

bool IsNormalFile(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    const std::string name = FileNameOf(path);
    return !name.empty() && name[0] != '.';
}

}  // namespace quillane
