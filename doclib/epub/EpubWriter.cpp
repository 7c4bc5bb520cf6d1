#include "doclib/epub/EpubWriter.h"

#include <algorithm>
#include <cstdio>

#include "doclib/epub/BookIdentity.h"
#include "doclib/epub/BookMetadata.h"
#include "doclib/epub/ChapterSplitter.h"
#include "doclib/epub/ContentWriter.h"
#include "doclib/epub/FileSink.h"
#include "doclib/epub/Navigation.h"
#include "doclib/epub/PackageDocument.h"
#include "doclib/epub/Stylesheet.h"
#include "doclib/epub/TocTree.h"
#include "doclib/epub/XhtmlText.h"
#include "doclib/epub/ZipWriter.h"

namespace Tessaly::Docs {

namespace {

// Fast deflate: text compresses to about a third at level 1 already, and the higher levels
// cost several times the time for a few per cent.
constexpr int kDeflateLevel = 1;

// Blocks and spans refer to each other by index; a document that breaks those links would
// make the writer read outside its arrays.
void CheckModel(const Document& doc) {
    const auto checkBlocks = [&](const std::vector<Block>& blocks) {
        for (const Block& block : blocks) {
            if (static_cast<std::uint64_t>(block.firstSpan) + block.spanCount > doc.spans.size()) {
                throw DocumentError("cannot save the document: a paragraph refers to missing text");
            }
        }
    };
    checkBlocks(doc.blocks);
    checkBlocks(doc.noteBlocks);
    for (const Block& block : doc.blocks) {
        if (block.container != 0 && block.container >= doc.containers.size()) {
            throw DocumentError(
                "cannot save the document: a paragraph refers to a missing list "
                "or table");
        }
    }
    for (const Span& span : doc.spans) {
        if (span.offset > doc.text.size() || span.length > doc.text.size() - span.offset) {
            throw DocumentError("cannot save the document: a text span lies outside its text");
        }
    }
}

std::string ContentFileName(std::size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "c%04zu.xhtml", index + 1);
    return name;
}

// Images are named by their place in the document and their type, never by the source's
// file names, which may hold anything.
std::string ImageFileName(std::size_t index, std::string_view mediaType) {
    std::string_view extension = "png";
    if (mediaType == "image/jpeg") {
        extension = "jpg";
    } else if (mediaType == "image/gif") {
        extension = "gif";
    } else if (mediaType == "image/svg+xml") {
        extension = "svg";
    }
    char name[48];
    std::snprintf(name, sizeof name, "images/i%04zu.%.*s", index + 1,
                  static_cast<int>(extension.size()), extension.data());
    return name;
}

std::vector<TocEntry> TableOfContents(const Document& doc, const ChapterPlan& plan,
                                      const std::vector<std::string>& files,
                                      const std::string& title) {
    std::vector<TocEntry> entries;
    const auto blockCount = static_cast<std::uint32_t>(doc.blocks.size());
    for (std::size_t p = 0; p < plan.pieces.size(); ++p) {
        const ContentPiece& piece = plan.pieces[p];
        for (std::uint32_t b = piece.begin.block; b < blockCount && b <= piece.end.block; ++b) {
            if (b == piece.end.block && piece.end.offset == 0) {
                break;
            }
            const Block& block = doc.blocks[b];
            // A heading cut in two belongs to the piece where it begins.
            const bool beginsHere = b != piece.begin.block || piece.begin.offset == 0;
            if (!beginsHere || block.kind != BlockKind::Heading || block.level > 3) {
                continue;
            }
            std::string label = HeadingLabel(doc, block);
            if (XmlEscaped(label).empty()) {
                continue;  // nothing to show in the list
            }
            entries.push_back(TocEntry{std::max<int>(block.level, 1), std::move(label),
                                       "text/" + files[p] + "#" + HeadingId(b)});
        }
    }
    if (entries.empty()) {
        entries.push_back(TocEntry{1, title, "text/" + files.front()});
    }
    return entries;
}

}  // namespace

void WriteEpub(const Document& doc, const std::string& path) {
    CheckModel(doc);
    const std::string title = BookTitle(doc.metadata, path);
    const std::string language = BookLanguage(doc.metadata.language);
    const bool rightToLeft = IsRightToLeft(language);
    const BookIdentity identity = MakeBookIdentity(doc);

    const ChapterPlan plan = PlanChapters(doc, kContentFileLimit - kContentFrameBound);
    std::vector<std::string> files;
    files.reserve(plan.pieces.size());
    for (std::size_t i = 0; i < plan.pieces.size(); ++i) {
        files.push_back(ContentFileName(i));
    }
    const std::vector<TocNode> toc = BuildTocTree(TableOfContents(doc, plan, files, title));

    PackageInfo package;
    package.identifier = identity.identifier;
    package.title = title;
    if (!doc.metadata.author.empty()) {
        package.authors.push_back(doc.metadata.author);
    }
    package.authors.insert(package.authors.end(), doc.metadata.coauthors.begin(),
                           doc.metadata.coauthors.end());
    package.contributors = doc.metadata.contributors;
    package.language = language;
    package.subject = doc.metadata.subject;
    package.description = doc.metadata.description;
    package.modified = FormatUtc(identity.modified);
    package.rightToLeft = rightToLeft;
    for (const std::string& file : files) {
        package.contentFiles.push_back("text/" + file);
    }
    std::vector<std::string> imageFiles;
    for (std::size_t i = 0; i < doc.images.size(); ++i) {
        imageFiles.push_back(ImageFileName(i, doc.images[i].mediaType));
        package.resources.push_back(PackageResource{imageFiles.back(), doc.images[i].mediaType});
    }

    FileSink out(path);
    ZipWriter zip(out, ToDosTime(identity.modified), kDeflateLevel);
    const auto addWhole = [&](const std::string& name, std::string_view data) {
        zip.BeginEntry(name);
        zip.Write(data);
        zip.EndEntry();
    };
    zip.AddStored("mimetype", "application/epub+zip");
    addWhole("META-INF/container.xml", ContainerDocument());
    addWhole(kPackagePath, PackageDocument(package));
    const std::string folder = kPackageFolder;
    addWhole(folder + "nav.xhtml", NavDocument(title, language, rightToLeft, toc));
    addWhole(folder + "toc.ncx", NcxDocument(identity.identifier, title, language, toc));
    addWhole(folder + "style.css", Stylesheet());

    ContentBook book;
    book.doc = &doc;
    book.plan = &plan;
    book.fileNames = files;
    book.imageFiles = imageFiles;
    book.title = title;
    book.language = language;
    book.rightToLeft = rightToLeft;
    const std::function<void(std::string_view)> emit = [&](std::string_view bytes) {
        zip.Write(bytes);
    };
    for (std::size_t i = 0; i < plan.pieces.size(); ++i) {
        zip.BeginEntry(folder + "text/" + files[i]);
        WriteContentFile(book, i, emit);
        zip.EndEntry();
    }
    for (std::size_t i = 0; i < doc.images.size(); ++i) {
        // Pictures are compressed already; SVG is text and deflates well.
        if (doc.images[i].mediaType == "image/svg+xml") {
            addWhole(folder + imageFiles[i], doc.images[i].data);
        } else {
            zip.AddStored(folder + imageFiles[i], doc.images[i].data);
        }
    }
    zip.Finish();
    out.Commit();
}

}  // namespace Tessaly::Docs
