#include "doclib/DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <system_error>

#include "doclib/epub/EpubWriter.h"
#include "doclib/rtf/RtfReader.h"
#include "doclib/structure/Refine.h"
#include "text/StagingRtf.h"
#include "text/TextDecoder.h"

namespace Tessaly::Docs {

namespace {

std::string LowerExtension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

[[noreturn]] void Fail(const std::string& path, const std::string& what, int error) {
    throw DocumentError("cannot " + what + " '" + path +
                        "': " + std::generic_category().message(error));
}

// The whole file in one buffer. Only a regular file is read: a FIFO or a device would block
// the caller or never end.
std::string ReadRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        Fail(path, "open", errno);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        Fail(path, "read", errno);
    }
    if (S_ISDIR(info.st_mode)) {
        Fail(path, "read", EISDIR);
    }
    if (!S_ISREG(info.st_mode)) {
        throw DocumentError("cannot read '" + path + "': not a regular file");
    }
    // One byte more than the size shows the end without regrowing; a file that grows
    // meanwhile is read to its end.
    std::string data(static_cast<std::size_t>(info.st_size) + 1, '\0');
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
            Fail(path, "read", errno);
        }
        if (got == 0) {
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    data.resize(used);
    return data;
}

// Plain text goes through the very RTF document the program stages a text as, so a text
// makes the same book whether the program or the converter alone is given it.
Document ReadPlainText(std::string bytes, const std::string& path) {
    if (text::LooksLikeBinary(bytes)) {
        throw DocumentError("'" + path + "': " + text::kNotTextMessage);
    }
    std::string utf8 = text::DecodeText(std::move(bytes)).utf8;
    std::string rtf;
    rtf.reserve(utf8.size() + utf8.size() / 8 + 4096);  // line ends and escapes, mostly
    text::WriteStagingRtf(utf8, FileNameOf(path),
                          [&](std::string_view piece) { rtf.append(piece); });
    utf8 = std::string();
    return ReadRtf(rtf);
}

}  // namespace

Document OpenDocument(const std::string& path) {
    std::string data = ReadRegularFile(path);
    Document doc;
    if (LooksLikeRtf(data)) {
        doc = ReadRtf(data);
    } else {
        doc = ReadPlainText(std::move(data), path);
    }
    data = std::string();  // the raw bytes go before the structure is built
    RefineForReading(doc);
    return doc;
}

void SaveDocument(const Document& doc, const std::string& path) {
    if (LowerExtension(path) != ".epub") {
        throw DocumentError("cannot save '" + path +
                            "': unsupported output format (use a .epub file name)");
    }
    WriteEpub(doc, path);
}

Document::Document(const std::string& path) : Document(OpenDocument(path)) {}

void Document::Save(const std::string& path) const {
    SaveDocument(*this, path);
}

}  // namespace Tessaly::Docs
