#pragma once
// The package document (OPF): metadata, manifest and spine; and the container file that
// points reading systems at it.

#include <string>
#include <vector>

#include "doclib/Document.h"

namespace Tessaly::Docs {

// The package document's place in the container, and the folder every other file of the book
// is named relative to.
constexpr const char* kPackagePath = "EPUB/package.opf";
constexpr const char* kPackageFolder = "EPUB/";

// A file of the book besides its text (an image), relative to the package folder.
struct PackageResource {
    std::string href;
    std::string mediaType;
};

struct PackageInfo {
    std::string identifier;            // "urn:uuid:..."
    std::string title;                 // plain UTF-8, never empty
    std::vector<std::string> authors;  // one dc:creator each, in order; may be empty
    std::vector<Contributor> contributors;
    std::string language;  // well-formed BCP 47
    std::string subject;
    std::string description;
    std::string modified;  // "YYYY-MM-DDThh:mm:ssZ"
    bool rightToLeft = false;
    // The content documents in reading order, relative to the package folder.
    std::vector<std::string> contentFiles;
    std::vector<PackageResource> resources;
};

std::string PackageDocument(const PackageInfo& info);
std::string ContainerDocument();

}  // namespace Tessaly::Docs
