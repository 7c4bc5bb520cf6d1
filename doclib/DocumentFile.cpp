#include "doclib/DocumentFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

#include "doclib/PlainTextReader.h"
#include "doclib/epub/EpubWriter.h"
#include "doclib/markdown/MarkdownReader.h"
#include "doclib/rtf/RtfReader.h"
#include "doclib/rtf/StagedMarkdown.h"
#include "doclib/structure/Refine.h"
#include "fileio/File.h"
#include "text/AsciiCase.h"
#include "text/FileSignatures.h"
#include "text/MarkdownName.h"
#include "text/TextDecoder.h"

namespace Tessaly::Docs {

namespace {

std::string LowerExtension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    return text::ToLowerAscii(std::string_view(path).substr(dot));
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Far beyond any text a person converts; a larger file is refused rather than exhausting memory.
constexpr std::uint64_t kSourceLimit = std::uint64_t{16} << 30;

// The whole file in one buffer. Only a regular file is read: a FIFO or a device would block
// the caller or never end.
std::string ReadSourceFile(const std::string& path) {
    std::string data;
    const fileio::FileStatus status = fileio::ReadRegularFile(path, kSourceLimit, data);
    switch (status.kind()) {
        case fileio::FileStatus::Kind::kOk:
            return data;
        case fileio::FileStatus::Kind::kSystem:
            throw DocumentError("cannot open '" + path +
                                "': " + std::generic_category().message(status.error()));
        case fileio::FileStatus::Kind::kNotRegularFile:
            if (status.detail() == S_IFDIR) {
                throw DocumentError("cannot read '" + path +
                                    "': " + std::generic_category().message(EISDIR));
            }
            throw DocumentError("cannot read '" + path + "': not a regular file");
        case fileio::FileStatus::Kind::kTooLarge:
            break;
    }
    throw DocumentError("cannot read '" + path + "': " + status.Describe());
}

// A picture, an archive or a program is refused, whatever its name says.
void RefuseBinary(const std::string& bytes, const std::string& path) {
    text::FileSignatures signatures;  // one document per converter: loaded once, if at all
    if (text::LooksLikeBinary(bytes, signatures)) {
        throw DocumentError("'" + path + "': " + text::kNotTextMessage);
    }
}

// Plain text becomes the very document the program stages a text as (PlainTextReader.h), so
// a text makes the same book whether the program or the converter alone is given it.
Document ReadPlainText(std::string bytes, const std::string& path) {
    RefuseBinary(bytes, path);
    const std::string utf8 = text::DecodeText(std::move(bytes)).utf8;
    return ReadPlainTextDocument(utf8, FileNameOf(path));
}

// Markdown's text read with its structure, which it states itself: it does not go through the
// guessing of structure that plain text needs. Pictures are looked up beside `path`.
Document ReadMarkdownText(std::string utf8, const std::string& path) {
    MarkdownSource source;
    source.text = std::move(utf8);
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (!error) {
        source.folder = absolute.parent_path().string();
    }
    return ReadMarkdown(source);
}

// Markdown is decoded as plain text is.
Document ReadMarkdownFile(std::string bytes, const std::string& path) {
    RefuseBinary(bytes, path);
    return ReadMarkdownText(text::DecodeText(std::move(bytes)).utf8, path);
}

}  // namespace

Document OpenDocument(const std::string& path) {
    std::string data = ReadSourceFile(path);
    if (text::IsMarkdownName(path)) {
        return ReadMarkdownFile(std::move(data), path);
    }
    Document doc;
    if (LooksLikeRtf(data)) {
        // The window stages a Markdown source with its text and path: read it as the file
        // itself would be, so both make the same book.
        if (std::optional<StagedMarkdown> staged = FindStagedMarkdown(data)) {
            data = std::string();
            return ReadMarkdownText(std::move(staged->text), staged->sourcePath);
        }
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
