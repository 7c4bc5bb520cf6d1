#include "doclib/epub/FileSink.h"

#include "doclib/DocumentError.h"

namespace Tessaly::Docs {

FileSink::FileSink(std::string path) : path_(std::move(path)) {
    if (const fileio::FileStatus status = file_.Open(path_); !status.ok()) {
        Fail("create", status);
    }
}

void FileSink::Write(std::string_view bytes) {
    if (const fileio::FileStatus status = file_.Write(bytes); !status.ok()) {
        Fail("write", status);
    }
}

void FileSink::Commit() {
    if (!file_.IsOpen()) {
        throw DocumentError("cannot write '" + path_ + "': the file is already closed");
    }
    if (const fileio::FileStatus status = file_.Commit(); !status.ok()) {
        Fail("write", status);
    }
}

void FileSink::Fail(const std::string& what, const fileio::FileStatus& status) const {
    throw DocumentError("cannot " + what + " '" + path_ + "': " + status.Describe());
}

}  // namespace Tessaly::Docs
