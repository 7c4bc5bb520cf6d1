// A library planted where a careless loader would find it: it leaves a marker file the moment
// it is loaded, so a test can prove it never ran.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

namespace {

struct Marker {
    Marker() {
        if (const char* path = std::getenv("QUILLANE_PLANTED_MARKER")) {
            const int fd = ::open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
};

const Marker marker;

}  // namespace
