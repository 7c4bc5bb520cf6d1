#include "doclib/rtf/RtfReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "doclib/rtf/RtfParser.h"

namespace Tessaly::Docs {

namespace {

std::string ErrorText(int error) {
    return std::generic_category().message(error);
}

// The whole file in one buffer, read once.
std::string ReadWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw DocumentError("cannot open '" + path + "': " + ErrorText(errno));
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw DocumentError("cannot read '" + path + "': " + ErrorText(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        throw DocumentError("cannot read '" + path + "': " + ErrorText(EISDIR));
    }
    std::string data;
    // A regular file's size is known (one byte more shows the end without regrowing); a pipe
    // or a file that grows meanwhile is read to its end.
    data.resize(info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 65536);
    std::size_t used = 0;
    for (;;) {
        if (used == data.size()) {
            data.resize(data.size() * 2);
        }
        const ssize_t got = ::read(fd, data.data() + used, data.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw DocumentError("cannot read '" + path + "': " + ErrorText(errno));
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    data.resize(used);
    return data;
}

}  // namespace

bool LooksLikeRtf(std::string_view data) {
    const auto start = data.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && data.substr(start, 5) == "{\\rtf";
}

Document ReadRtf(std::string_view data) {
    if (!LooksLikeRtf(data)) {
        throw DocumentError("not an RTF document: the text does not begin with {\\rtf");
    }
    Rtf::RtfParser parser(data);
    return parser.Parse();
}

Document ReadRtfFile(const std::string& path) {
    std::string data = ReadWholeFile(path);
    if (!LooksLikeRtf(data)) {
        throw DocumentError("'" + path +
                            "' is not an RTF document (it does not begin with {\\rtf)");
    }
    Document doc = ReadRtf(data);
    data = std::string();  // the raw RTF goes before the caller builds anything from the model
    return doc;
}

}  // namespace Tessaly::Docs
