#include "filelist/FileProbe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillane {

bool IsExistingFile(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    // O_PATH opens without any access right and never blocks on a pipe or a device.
    const int fd = ::open(path.c_str(), O_PATH | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular;
}

}  // namespace quillane
