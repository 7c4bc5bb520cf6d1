#include "convert/StagingText.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "text/StagingRtf.h"
#include "util/AppError.h"

namespace quillane {

void StagingText::SaveFile(const std::string& path, const std::string& title) const {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        RaiseFromErrno(errno);
    }
    int failure = 0;
    text::WriteStagingRtf(text_, title, [&](std::string_view piece) {
        while (failure == 0 && !piece.empty()) {
            const ssize_t n = ::write(fd, piece.data(), piece.size());
            if (n < 0) {
                if (errno != EINTR) {
                    failure = errno;
                }
                continue;
            }
            piece.remove_prefix(static_cast<std::size_t>(n));
        }
    });
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(path.c_str());
        RaiseFromErrno(failure);
    }
}

}  // namespace quillane
