#include "tests/support/Mappings.h"

#include <cstdint>
#include <fstream>
#include <sstream>

namespace quillane::test {

std::string FlagsOfMappingAt(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        std::uintptr_t start = 0;
        std::uintptr_t end = 0;
        char dash = 0;
        std::istringstream range(line);
        // A mapping's first line begins with its range ("7f12a000-7f12c000 rw-p ..."); the
        // lines of figures that follow begin with a name and a colon.
        if (range >> std::hex >> start >> dash >> end && dash == '-' &&
            line.find(':') > line.find(' ')) {
            inside = start <= at && at < end;
            continue;
        }
        if (inside && line.rfind("VmFlags:", 0) == 0) {
            return line;
        }
    }
    return {};
}

bool HugePagesOnRequest() {
    std::ifstream enabled("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    std::getline(enabled, modes);
    return modes.find("[madvise]") != std::string::npos ||
           modes.find("[always]") != std::string::npos;
}

}  // namespace quillane::test
