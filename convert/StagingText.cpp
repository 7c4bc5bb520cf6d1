#include "convert/StagingText.h"

#include <unistd.h>

#include "fileio/File.h"
#include "text/MarkdownName.h"
#include "text/StagingRtf.h"
#include "util/FileBytes.h"

namespace quillane {

void StagingText::SetSourcePath(const std::string& path) {
    if (text::IsMarkdownName(path)) {
        markdownSource_ = path;
    } else {
        markdownSource_.reset();
    }
}

void StagingText::SaveFile(const std::string& path, const std::string& title) const {
    fileio::File file;
    fileio::FileStatus status = fileio::CreateOrTruncateFile(path, 0600, file);
    if (!status.ok()) {
        RaiseFileStatus(status);
    }
    text::WriteStagingRtf(
        text_, title,
        [&](std::string_view piece) {
            if (status.ok()) {
                status = file.WriteAll(piece);
            }
        },
        markdownSource_);
    if (const fileio::FileStatus closed = file.Close(); status.ok()) {
        status = closed;
    }
    if (!status.ok()) {
        ::unlink(path.c_str());
        RaiseFileStatus(status);
    }
}

}  // namespace quillane
